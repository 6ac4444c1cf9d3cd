#pragma once

#include <cstdint>
#include <string>

#include "Libav.h"

namespace sonvarro::evc {

struct SourceInfo {
  std::string containerName;
  std::string codecName;
  int sampleRate = 0;
  int channels = 0;
  double durationSeconds = 0;  // 0 when unknown
};

// Opens a source and decodes its main audio stream. Other streams are
// discarded by the demuxer and never decoded.
class SourceReader {
 public:
  // Throws EncodeError (Failure::kInput) naming the file.
  explicit SourceReader(const std::string& path);

  const SourceInfo& Info() const { return info_; }
  // Container tags, with the audio stream's own where the container has none.
  const AVDictionary* Tags() const { return tags_; }
  ~SourceReader();
  SourceReader(const SourceReader&) = delete;
  SourceReader& operator=(const SourceReader&) = delete;

  // Moves reading to `seconds` from the start of the audio, or a little before.
  void SeekTo(double seconds);
  // The next decoded frame, false at the end. frame->pts is its first
  // sample counted from the start of the audio, or AV_NOPTS_VALUE.
  bool Next(AVFrame* frame);

  int64_t DecodedSamples() const { return decodedSamples_; }
  // Packets the decoder refused or the file could not give, and the last
  // error code met (0: none).
  int DecodeErrors() const { return decodeErrors_; }
  int LastError() const { return lastError_; }
  const std::string& Path() const { return path_; }

 private:
  bool Feed();
  void NoteError(int code);
  void EndInput();

  std::string path_;
  InputFormatPtr format_;
  CodecContextPtr decoder_;
  AVStream* stream_ = nullptr;
  AVDictionary* tags_ = nullptr;
  PacketPtr packet_;
  SourceInfo info_;
  int64_t streamStart_ = 0;
  bool inputEnded_ = false;
  bool drained_ = false;
  int64_t decodedSamples_ = 0;
  int decodeErrors_ = 0;
  int lastError_ = 0;
};

}  // namespace sonvarro::evc
