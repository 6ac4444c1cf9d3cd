#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sonvarro::evc {

// What one run was asked to do. Values left empty fall back to the source's
// own (channels, sample rate) or to the encoder's default (bitrate).
struct EncoderOptions {
  bool overwrite = false;
  std::string input;
  std::string output;
  std::string audioCodec;  // one of kAudioCodecNames; empty: the container's own
  std::string format;      // muxer name; empty: from the output extension
  std::optional<int> audioBitrateKbps;
  double volumePercent = 100.0;
  std::optional<int> channels;
  std::optional<int> sampleRate;
  double startSeconds = 0.0;
  std::optional<double> durationSeconds;  // more than 0 when given
  // Encoder instances working at once, for tests and benchmarks: 1 makes
  // the single-instance output to compare with. Empty: one per core.
  std::optional<int> encoderInstances;
};

// The codec names -acodec accepts.
extern const std::vector<std::string> kAudioCodecNames;

struct ParsedOptions {
  bool ok = false;
  EncoderOptions options;
  std::string error;  // one line, when !ok
};

// Reads the legacy FFmpeg-style options in any order; the output path comes
// last. `args` holds the arguments without the program name.
ParsedOptions ParseOptions(const std::vector<std::string>& args);

// "hh:mm:ss", "mm:ss" or plain seconds, each with an optional fraction.
std::optional<double> ParseTimeText(const std::string& text);

}  // namespace sonvarro::evc
