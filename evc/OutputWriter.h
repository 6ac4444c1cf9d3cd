#pragma once

#include <cstdint>
#include <string>

#include "Libav.h"

namespace sonvarro::evc {

// The output file: one audio stream in the chosen container, with the
// source's tags. Until Finish() succeeds the file counts as partial and is
// removed when the writer goes.
class OutputWriter {
 public:
  // Opens (creates or truncates) the file and writes the container header.
  // Throws EncodeError (Failure::kOutput) naming the file.
  OutputWriter(const std::string& path, const AVOutputFormat* container, const AVCodecParameters* audio,
               AVRational packetTimeBase, const AVDictionary* tags);
  ~OutputWriter();
  OutputWriter(const OutputWriter&) = delete;
  OutputWriter& operator=(const OutputWriter&) = delete;

  // `packet` has its timestamps in the time base given above.
  void Write(AVPacket* packet);
  void Finish();

  int64_t BytesWritten() const;
  // The end of the audio written so far, in seconds.
  double SecondsWritten() const { return secondsWritten_; }

 private:
  void Open(const AVOutputFormat* container, const AVCodecParameters* audio, const AVDictionary* tags);
  void Close();
  void Remove();  // the partial file
  [[noreturn]] void Fail(const std::string& what, int code);

  std::string path_;
  AVFormatContext* format_ = nullptr;
  AVStream* stream_ = nullptr;
  AVRational packetTimeBase_;
  double secondsWritten_ = 0;
  bool finished_ = false;
};

// The tags carried over, wherever the container can hold them.
void CopyTags(const AVDictionary* from, AVDictionary** to);

}  // namespace sonvarro::evc
