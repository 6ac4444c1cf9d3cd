#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sonvarro::test {

// Decoded audio, interleaved.
struct Audio {
  int sampleRate = 0;
  int channels = 0;
  std::vector<float> samples;
  int64_t Frames() const { return channels ? static_cast<int64_t>(samples.size()) / channels : 0; }
};

// Decodes a file completely; false and `error` when it cannot.
bool LoadAudio(const std::string& path, Audio* audio, std::string* error);

// How closely coded audio follows its source, measured in 20 ms windows
// after aligning the two: a window's signal-to-noise ratio is the source's
// energy over that of the difference, in dB. Windows where the source is
// near silence say nothing and are left out.
struct Fidelity {
  bool ok = false;
  std::string error;
  int64_t lag = 0;                // coded sample i matches source sample i - lag
  std::vector<double> windowSnr;  // NaN for windows left out
  double meanSnr = 0;
  double worstSnr = 0;
};

Fidelity MeasureFidelity(const Audio& source, const Audio& coded);

// The worst window within `reach` samples of any of the source positions
// `boundaries` (placed in the coded audio by the lag).
double WorstSnrNear(const Fidelity& fidelity, const std::vector<int64_t>& boundaries, int64_t reach, int sampleRate);

constexpr double kWindowSeconds = 0.020;

}  // namespace sonvarro::test
