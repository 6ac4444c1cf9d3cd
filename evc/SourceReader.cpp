#include "SourceReader.h"

#include <cmath>
#include <cstring>
#include <filesystem>

#include "Conversion.h"
#include "EncodeError.h"
#include "FilePath.h"
#include "ProblemText.h"

namespace sonvarro::evc {
namespace {

// A damaged file can make a decoder refuse packet after packet; past this
// many in a row with nothing decoded, the file counts as undecodable.
constexpr int kMaxRefusalsBeforeAudio = 500;

bool HasAudioParameters(const AVStream* stream) {
  const AVCodecParameters* p = stream->codecpar;
  return p->codec_id != AV_CODEC_ID_NONE && p->sample_rate > 0 && p->ch_layout.nb_channels > 0;
}

// Demuxers that read lists of other files or wait for a live stream to
// grow: a playlist given as a source could make the encoder wait forever.
bool ReadsOtherFiles(const char* name) {
  static const char* const kRefused[] = {"hls", "dash", "concat", "image2", "tee", "ffmetadata", "data"};
  for (const char* refused : kRefused)
    if (std::strcmp(name, refused) == 0) return true;
  return false;
}

const std::string& AllowedDemuxers() {
  static const std::string allowed = [] {
    std::string names;
    void* state = nullptr;
    while (const AVInputFormat* format = av_demuxer_iterate(&state))
      if (!ReadsOtherFiles(format->name)) names += (names.empty() ? "" : ",") + std::string(format->name);
    return names;
  }();
  return allowed;
}

int InterruptWhenStopped(void*) { return StopRequested().load() ? 1 : 0; }

int FindAudioStream(AVFormatContext* format) {
  return av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
}

const AVInputFormat* DemuxerNamedByExtension(const std::string& path) {
  void* state = nullptr;
  while (const AVInputFormat* format = av_demuxer_iterate(&state))
    if (format->extensions && !ReadsOtherFiles(format->name) && av_match_ext(path.c_str(), format->extensions))
      return format;
  return nullptr;
}

// Opens the file with `demuxer`, or as its content suggests when null, and
// finds its main audio stream. AVERROR_STREAM_NOT_FOUND: no audio.
int OpenAudio(const std::string& path, const AVInputFormat* demuxer, InputFormatPtr* opened, int* index) {
  AVDictionary* options = nullptr;
  if (av_dict_set(&options, "protocol_whitelist", "file", 0) < 0) throw std::bad_alloc();
  AVFormatContext* raw = avformat_alloc_context();
  if (!raw) {
    av_dict_free(&options);
    throw std::bad_alloc();
  }
  // Without its list every demuxer would be allowed, the refused ones too.
  raw->format_whitelist = av_strdup(AllowedDemuxers().c_str());
  if (!raw->format_whitelist) {
    av_dict_free(&options);
    avformat_free_context(raw);
    throw std::bad_alloc();
  }
  raw->interrupt_callback.callback = InterruptWhenStopped;
  int status = avformat_open_input(&raw, FileUrl(path).c_str(), demuxer, &options);
  av_dict_free(&options);
  if (status < 0) return status;
  InputFormatPtr format(raw);

  *index = FindAudioStream(format.get());
  // Containers whose header tells all need no probing, which would decode
  // video too; the others (raw streams, MPEG-TS) are probed.
  if (*index < 0 || !HasAudioParameters(format->streams[*index])) {
    for (unsigned i = 0; i < format->nb_streams; ++i)
      if (format->streams[i]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO) format->streams[i]->discard = AVDISCARD_ALL;
    status = avformat_find_stream_info(format.get(), nullptr);
    if (status < 0) return status;
    *index = FindAudioStream(format.get());
  }
  *opened = std::move(format);
  return *index < 0 ? AVERROR_STREAM_NOT_FOUND : 0;
}

}  // namespace

SourceReader::SourceReader(const std::string& path) : path_(path), packet_(MakePacket()) {
  const std::string quoted = "\"" + path + "\"";
  // Opening a pipe waits for a writer, and a device may never end: only
  // files are read. What does not exist, or is a folder, is said below.
  std::error_code statusError;
  const auto type = std::filesystem::status(FilePath(path), statusError).type();
  if (!statusError && type != std::filesystem::file_type::regular && type != std::filesystem::file_type::directory)
    throw EncodeError(Failure::kInput, "input " + quoted + " is not a file but a pipe, a device or a socket");
  std::error_code sizeError;
  if (type == std::filesystem::file_type::regular && std::filesystem::file_size(FilePath(path), sizeError) == 0)
    throw EncodeError(Failure::kInput, "input " + quoted + " is empty");
  int index = -1;
  int status = OpenAudio(path, nullptr, &format_, &index);
  // A file whose content alone leaves its kind in doubt (a raw stream of a
  // frame or two) is read as its extension says, when that finds audio.
  if (status < 0 || format_->probe_score <= AVPROBE_SCORE_RETRY) {
    const AVInputFormat* named = DemuxerNamedByExtension(path);
    InputFormatPtr byName;
    int namedIndex = -1;
    if (named && (status < 0 || named != format_->iformat) && OpenAudio(path, named, &byName, &namedIndex) >= 0) {
      format_ = std::move(byName);
      index = namedIndex;
      status = 0;
    }
  }
  if (status < 0 && StopRequested().load())
    throw EncodeError(Failure::kStopped, "stopped while opening input " + quoted);
  if (status == AVERROR_STREAM_NOT_FOUND) throw EncodeError(Failure::kInput, "input " + quoted + " has no audio track");
  if (status < 0) throw EncodeError(Failure::kInput, "input " + quoted + " " + InputProblem(status));
  stream_ = format_->streams[index];
  for (unsigned i = 0; i < format_->nb_streams; ++i)
    if (static_cast<int>(i) != index) format_->streams[i]->discard = AVDISCARD_ALL;

  const std::string undecodable = "input " + quoted + " has no audio that can be decoded";
  const AVCodec* codec = avcodec_find_decoder(stream_->codecpar->codec_id);
  if (!codec) throw EncodeError(Failure::kInput, undecodable);
  decoder_.reset(avcodec_alloc_context3(codec));
  if (!decoder_) throw std::bad_alloc();
  status = avcodec_parameters_to_context(decoder_.get(), stream_->codecpar);
  if (status >= 0) {
    decoder_->pkt_timebase = stream_->time_base;
    status = avcodec_open2(decoder_.get(), codec, nullptr);
  }
  if (status < 0) throw EncodeError(Failure::kInput, undecodable);

  if (stream_->start_time != AV_NOPTS_VALUE) streamStart_ = stream_->start_time;
  info_.containerName = format_->iformat->name;
  info_.codecName = codec->name;
  info_.sampleRate = decoder_->sample_rate;
  info_.channels = decoder_->ch_layout.nb_channels;
  // Containers read without probing (WAV) state only the stream's length.
  if (format_->duration > 0)
    info_.durationSeconds = format_->duration / double(AV_TIME_BASE);
  else if (stream_->duration > 0)
    info_.durationSeconds = stream_->duration * av_q2d(stream_->time_base);

  if (av_dict_copy(&tags_, format_->metadata, 0) < 0 ||
      av_dict_copy(&tags_, stream_->metadata, AV_DICT_DONT_OVERWRITE) < 0)
    throw std::bad_alloc();
}

SourceReader::~SourceReader() { av_dict_free(&tags_); }

void SourceReader::SeekTo(double seconds) {
  if (seconds <= 0) return;
  const int64_t target =
      streamStart_ + av_rescale_q(std::llround(seconds * AV_TIME_BASE), AV_TIME_BASE_Q, stream_->time_base);
  // At or before the target: the samples up to it are dropped by position.
  if (avformat_seek_file(format_.get(), stream_->index, INT64_MIN, target, target, 0) >= 0)
    avcodec_flush_buffers(decoder_.get());
}

void SourceReader::NoteError(int code) {
  ++decodeErrors_;
  lastError_ = code;
}

// Tells the decoder no more packets come. A decoder that refuses even that
// has nothing more to give: Next() stops at the end of input anyway.
void SourceReader::EndInput() {
  inputEnded_ = true;
  const int status = avcodec_send_packet(decoder_.get(), nullptr);
  if (status < 0 && status != AVERROR_EOF) NoteError(status);
}

// Hands the decoder one packet of the audio stream, or the end of input.
bool SourceReader::Feed() {
  while (!inputEnded_) {
    const int status = av_read_frame(format_.get(), packet_.get());
    if (status < 0) {
      // Damaged or cut-off data ends the input like its end does.
      if (status != AVERROR_EOF) NoteError(status);
      EndInput();
      return true;
    }
    if (packet_->stream_index != stream_->index) {
      av_packet_unref(packet_.get());
      continue;
    }
    const int sent = avcodec_send_packet(decoder_.get(), packet_.get());
    av_packet_unref(packet_.get());
    if (sent < 0 && sent != AVERROR(EAGAIN)) {
      NoteError(sent);
      if (decodedSamples_ == 0 && decodeErrors_ > kMaxRefusalsBeforeAudio) {
        EndInput();
      }
    }
    return true;
  }
  return false;
}

bool SourceReader::Next(AVFrame* frame) {
  while (!drained_) {
    const int status = avcodec_receive_frame(decoder_.get(), frame);
    if (status >= 0) {
      if (frame->nb_samples <= 0 || frame->sample_rate <= 0 || frame->ch_layout.nb_channels <= 0) {
        av_frame_unref(frame);
        continue;
      }
      decodedSamples_ += frame->nb_samples;
      const int64_t stamp = frame->best_effort_timestamp;
      frame->pts = stamp == AV_NOPTS_VALUE
                       ? AV_NOPTS_VALUE
                       : av_rescale_q(stamp - streamStart_, stream_->time_base, AVRational{1, frame->sample_rate});
      return true;
    }
    if (status == AVERROR_EOF) {
      drained_ = true;
      break;
    }
    if (status != AVERROR(EAGAIN)) {
      NoteError(status);
      if (inputEnded_) {
        drained_ = true;
        break;
      }
    }
    if (!Feed()) {
      drained_ = true;
      break;
    }
  }
  return false;
}

}  // namespace sonvarro::evc
