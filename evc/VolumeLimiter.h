#pragma once

#include <deque>
#include <vector>

namespace sonvarro::evc {

// Applies a volume gain and keeps the result below full scale with a smooth
// look-ahead limiter: the gain starts falling before a peak arrives and
// recovers slowly after it, so nothing is clipped or wrapped. The look-ahead
// delays the signal; Flush() hands back the held samples, so the output is
// exactly as long as the input.
class VolumeLimiter {
 public:
  VolumeLimiter(int channels, int sampleRate, double gain);

  // Processes `count` samples per channel of planar float audio in place and
  // returns how many samples at the start of the planes are output (fewer than
  // `count` while the look-ahead fills). The planes need room for `count`.
  int Process(float* const* planes, int count);
  // Writes the held samples into `planes` (room for HeldSamples()) and
  // returns their count.
  int Flush(float* const* planes);
  int HeldSamples() const { return held_; }

  // The ceiling the limited output stays under.
  static constexpr float kCeiling = 0.977f;  // -0.2 dBFS, room for codec overshoot

 private:
  float NextGain(float target);
  bool Idle() const;
  bool PassQuietBlock(float* const* planes, int count);

  int channels_;
  float gain_;
  int lookahead_;
  float releaseCoefficient_;
  // Delay line, `lookahead_` samples per channel, as a ring.
  std::vector<std::vector<float>> delay_;
  int ringPosition_ = 0;
  int held_ = 0;
  // Sliding minimum of the wanted gains over the look-ahead window.
  std::deque<std::pair<long long, float>> windowMinimum_;
  long long sampleIndex_ = 0;
  float released_ = 1.0f;
  // Moving average of the released gain, which makes the attack a ramp.
  std::vector<float> averageRing_;
  int averagePosition_ = 0;
  double averageSum_;
  int reducedInAverage_ = 0;
};

}  // namespace sonvarro::evc
