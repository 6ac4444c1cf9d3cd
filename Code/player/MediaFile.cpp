#include "player/MediaFile.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/error.h>
}

#include <algorithm>
#include <vector>

#include "player/MediaGraph.h"
#include "services/platform/Files.h"

namespace sonvarro {
namespace {

struct FreePacket {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

std::string ErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

bool IsAudioOrVideo(const AVStream* stream) {
  AVMediaType type = stream->codecpar->codec_type;
  return type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO;
}

// The duration in microseconds as the sum of the packet durations, per stream
// of picture or sound, the longest stream counting; nullopt when the packets
// carry no durations. Reads from where stream information reading left off:
// the packets it consumed are still queued, so every packet is seen once.
std::optional<int64_t> SumPacketDurations(AVFormatContext* input) {
  std::vector<int64_t> sums(input->nb_streams, 0);
  std::unique_ptr<AVPacket, FreePacket> packet(av_packet_alloc());
  if (!packet) return std::nullopt;
  while (av_read_frame(input, packet.get()) >= 0) {
    if (packet->duration > 0 && packet->stream_index >= 0 &&
        static_cast<unsigned>(packet->stream_index) < input->nb_streams) {
      sums[packet->stream_index] += packet->duration;
    }
    av_packet_unref(packet.get());
  }
  int64_t longest = 0;
  for (unsigned i = 0; i < input->nb_streams; ++i) {
    const AVStream* stream = input->streams[i];
    if (!IsAudioOrVideo(stream) || sums[i] == 0) continue;
    longest = std::max(longest, av_rescale_q(sums[i], stream->time_base, AV_TIME_BASE_Q));
  }
  if (longest == 0) return std::nullopt;
  return longest;
}

}  // namespace

void SilenceMediaLibraries() { av_log_set_level(AV_LOG_QUIET); }

void MediaFile::Close::operator()(AVFormatContext* context) const { avformat_close_input(&context); }

MediaFile::MediaFile(const std::string& path) {
  SilenceMediaLibraries();
  if (!platform::IsRegularFile(path)) throw MediaGraphError(path + " is not a regular file");

  // "file:" keeps a name with a colon from being taken for a protocol.
  AVFormatContext* raw = nullptr;
  int code = avformat_open_input(&raw, ("file:" + path).c_str(), nullptr, nullptr);
  if (code < 0) throw MediaGraphError("cannot open " + path + ": " + ErrorText(code));
  input_.reset(raw);

  code = avformat_find_stream_info(input_.get(), nullptr);
  if (code < 0) throw MediaGraphError("cannot read the streams of " + path + ": " + ErrorText(code));
  if (input_->nb_streams == 0) throw MediaGraphError("no streams in " + path);
}

MediaFile::~MediaFile() = default;

StreamCensus MediaFile::Census() const {
  StreamCensus census;
  int audioTracks = 0;
  int videoTracks = 0;
  for (unsigned i = 0; i < input_->nb_streams; ++i) {
    const AVStream* stream = input_->streams[i];
    if (!IsAudioOrVideo(stream)) continue;
    const bool audio = stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO;
    const int track = audio ? ++audioTracks : ++videoTracks;
    const bool decodable = avcodec_find_decoder(stream->codecpar->codec_id) != nullptr;
    if (audio) {
      (decodable ? census.decodableAudio : census.undecodableAudio)++;
      if (decodable && census.firstAudioTrack == 0) census.firstAudioTrack = track;
    } else {
      (decodable ? census.decodableVideo : census.undecodableVideo)++;
      if (decodable && census.firstVideoTrack == 0) census.firstVideoTrack = track;
    }
  }
  return census;
}

std::optional<int64_t> MediaFile::DurationMs() {
  std::optional<int64_t> durationUs;
  if (input_->duration != AV_NOPTS_VALUE && input_->duration >= 0) durationUs = input_->duration;
  if (input_->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE) {
    if (std::optional<int64_t> exact = SumPacketDurations(input_.get())) durationUs = exact;
  }
  if (!durationUs) return std::nullopt;
  return *durationUs / 1000;
}

}  // namespace sonvarro
