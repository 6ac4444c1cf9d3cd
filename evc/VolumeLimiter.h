#pragma once

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
  // The gains for `count` wanted gains, one sample each, in order.
  void ComputeGains(const float* targets, float* gains, int count);
  bool Idle() const;
  bool PassQuietBlock(float* const* planes, int count);
  // Appends `count` input samples, at the volume, behind the held ones.
  void Enter(float* const* planes, int count);
  // Keeps the last held_ samples at the front of each line.
  void Keep(int dropped);

  int channels_;
  float gain_;
  int lookahead_;
  float releaseCoefficient_;
  // Per channel: the held samples (the look-ahead's delay, held_ of them,
  // oldest first) followed by the block being processed.
  std::vector<std::vector<float>> lines_;
  int held_ = 0;
  // Per block: the gain each sample asks for, then the gain each is given.
  std::vector<float> targets_;
  std::vector<float> gains_;
  // Sliding minimum of the wanted gains over the look-ahead window: the
  // candidates, rising from front to back, in a ring.
  std::vector<long long> candidateIndex_;
  std::vector<float> candidateGain_;
  int candidatesFront_ = 0;
  int candidateCount_ = 0;
  long long sampleIndex_ = 0;
  float released_ = 1.0f;
  // Moving average of the released gain, which makes the attack a ramp.
  std::vector<float> averageRing_;
  int averagePosition_ = 0;
  double averageSum_;
  int reducedInAverage_ = 0;
};

}  // namespace sonvarro::evc
