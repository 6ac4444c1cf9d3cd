#include "OutputWriter.h"

#include <cstdio>
#include <filesystem>
#include <new>

#include "EncodeError.h"
#include "FilePath.h"
#include "ProblemText.h"

namespace sonvarro::evc {

void CopyTags(const AVDictionary* from, AVDictionary** to) {
  static const char* const kCarried[] = {"title", "artist", "album", "date", "genre", "track"};
  for (const char* key : kCarried) {
    // Lookup ignores letter case: Vorbis comments and RIFF INFO write them in capitals.
    if (const AVDictionaryEntry* entry = av_dict_get(from, key, nullptr, 0))
      if (av_dict_set(to, key, entry->value, 0) < 0) throw std::bad_alloc();
  }
}

OutputWriter::OutputWriter(const std::string& path, const AVOutputFormat* container, const AVCodecParameters* audio,
                           AVRational packetTimeBase, const AVDictionary* tags)
    : path_(path), packetTimeBase_(packetTimeBase) {
  try {
    Open(container, audio, tags);
  } catch (...) {
    // The destructor does not run for a writer that never finished opening.
    const bool created = format_ && format_->pb;
    Close();
    if (created) Remove();
    throw;
  }
}

void OutputWriter::Open(const AVOutputFormat* container, const AVCodecParameters* audio, const AVDictionary* tags) {
  int status = avformat_alloc_output_context2(&format_, container, nullptr, nullptr);
  if (status < 0) Fail("cannot prepare", status);
  stream_ = avformat_new_stream(format_, nullptr);
  if (!stream_) Fail("cannot prepare", AVERROR(ENOMEM));
  status = avcodec_parameters_copy(stream_->codecpar, audio);
  if (status < 0) Fail("cannot prepare", status);
  stream_->codecpar->codec_tag = 0;
  stream_->time_base = packetTimeBase_;
  CopyTags(tags, &format_->metadata);

  AVDictionary* options = nullptr;
  if (av_dict_set(&options, "protocol_whitelist", "file", 0) < 0) {
    av_dict_free(&options);
    Fail("cannot prepare", AVERROR(ENOMEM));
  }
  status = avio_open2(&format_->pb, FileUrl(path_).c_str(), AVIO_FLAG_WRITE, nullptr, &options);
  av_dict_free(&options);
  if (status < 0) Fail("cannot create", status);
  // MP4's default movie clock counts milliseconds: its edit list would round
  // the audio's length, and a few samples would round to nothing.
  AVDictionary* muxerOptions = nullptr;
  status = av_dict_set_int(&muxerOptions, "movie_timescale", audio->sample_rate, 0);
  if (status >= 0) status = avformat_write_header(format_, &muxerOptions);
  av_dict_free(&muxerOptions);
  if (status < 0) Fail("cannot write", status);
}

OutputWriter::~OutputWriter() {
  Close();
  if (!finished_) Remove();
}

void OutputWriter::Close() {
  if (!format_) return;
  if (format_->pb) avio_closep(&format_->pb);
  avformat_free_context(format_);
  format_ = nullptr;
}

void OutputWriter::Remove() {
  std::error_code error;
  std::filesystem::remove(FilePath(path_), error);
}

void OutputWriter::Fail(const std::string& what, int code) {
  std::string problem = OutputProblem(code);
  // Windows says "not found" also when a file stands where the folder
  // should be; Linux has its own code for that.
  if (code == AVERROR(ENOENT)) {
    std::error_code error;
    const auto folder = std::filesystem::status(std::filesystem::absolute(FilePath(path_), error).parent_path(), error);
    if (std::filesystem::is_directory(folder))
      problem = "its folder takes no new files";
    else if (std::filesystem::exists(folder))
      problem = OutputProblem(AVERROR(ENOTDIR));
  }
  throw EncodeError(Failure::kOutput, what + " output \"" + path_ + "\"" + (problem.empty() ? "" : ": " + problem));
}

void OutputWriter::Write(AVPacket* packet) {
  const int64_t end = packet->pts + packet->duration;
  if (end > 0) {
    const double seconds = end * av_q2d(packetTimeBase_);
    if (seconds > secondsWritten_) secondsWritten_ = seconds;
  }
  av_packet_rescale_ts(packet, packetTimeBase_, stream_->time_base);
  packet->stream_index = stream_->index;
  const int status = av_write_frame(format_, packet);
  if (status < 0) Fail("cannot write", status);
  // Buffered writes report a full disk only through the I/O context.
  if (format_->pb->error < 0) Fail("cannot write", format_->pb->error);
}

void OutputWriter::Finish() {
  int status = av_write_trailer(format_);
  if (status < 0) Fail("cannot finish", status);
  status = avio_closep(&format_->pb);
  if (status < 0) Fail("cannot finish", status);
  if (format_->pb == nullptr && status >= 0) finished_ = true;
  Close();
}

int64_t OutputWriter::BytesWritten() const { return format_ && format_->pb ? avio_tell(format_->pb) : 0; }

}  // namespace sonvarro::evc
