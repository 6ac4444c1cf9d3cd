#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sonvarro::test {

// A generated sine tone, the same on every channel.
struct ToneSpec {
  double seconds = 2.0;
  int sampleRate = 44100;
  int channels = 2;
  double frequency = 440.0;
  double amplitude = 0.25;  // peak, full scale = 1
  // Seconds of silence before the tone starts (within `seconds`).
  double silentLead = 0.0;
  // Sharp bursts of noise that die away within tens of milliseconds, one
  // every this many seconds (0: none), at `amplitude`: transients for the
  // codecs' block switching.
  double burstEvery = 0.0;
  // A floor of white noise at this peak amplitude under everything (0: none).
  double noise = 0.0;
  // Tags written where the container holds them (title, artist, album, ...).
  std::map<std::string, std::string> tags;
};

// Writes the tone to `path` by running the `ffmpeg` tool (argument vector, no
// shell). The extension picks the container and codecs:
//   .wav PCM 16-bit; .mp3; .aac (ADTS); .m4a (AAC); .ac3; .ogg (Vorbis);
//   .flac; .wma (WMA v2); .mp4 and .mov (MPEG-4 video + AAC); .avi (MPEG-4
//   video + MP3); .mkv (MPEG-4 video + Vorbis); .mpg (MPEG-1 video + MP2).
// Video containers get a small test-pattern video stream of the same length.
// Returns false and fills `error` on failure (unknown extension, tool failed).
bool WriteToneFile(const std::string& path, const ToneSpec& spec, std::string* error = nullptr);

// Writes a video-only file (.mp4, .avi or .mkv) of the given length.
bool WriteVideoOnlyFile(const std::string& path, double seconds, std::string* error = nullptr);

struct MediaReport {
  bool ok = false;
  std::string error;      // when !ok
  std::string codecName;  // FFmpeg's name of the audio codec, e.g. "mp3"
  int channels = 0;
  int sampleRate = 0;
  int64_t samples = 0;                      // decoded samples per channel
  double durationSeconds = 0;               // samples / sampleRate
  double peak = 0;                          // largest absolute sample, full scale = 1
  double rms = 0;                           // over all channels and samples
  std::vector<double> blockRms;             // RMS of each 0.1 s block, in order
  uint64_t checksum = 0;                    // of the decoded samples in the decoder's own format
  bool hasVideo = false;                    // any video stream in the file
  std::map<std::string, std::string> tags;  // container tags, keys in lower case
};

// Decodes the best audio stream of a file completely, in-process; `samples`,
// when given, receives them interleaved, full scale = 1. `demuxer` names
// FFmpeg's reader for the file, as a player that goes by the extension
// would; null: the file's content decides.
MediaReport DecodeMedia(const std::string& path, std::vector<float>* samples = nullptr, const char* demuxer = nullptr);

}  // namespace sonvarro::test
