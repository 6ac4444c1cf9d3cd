#include "player/ProbeGraph.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/error.h>
}

#include <algorithm>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "services/platform/Files.h"

namespace sonvarro {
namespace {

struct CloseInput {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using InputPtr = std::unique_ptr<AVFormatContext, CloseInput>;

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

ProbeGraph::ProbeGraph() {
  // A probe reports through its results; libav's own console chatter about
  // damaged or foreign files would only clutter the program's output.
  static std::once_flag quiet;
  std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
}

void ProbeGraph::SetActive(bool active) {
  Clear();
  active_ = active;
}

void ProbeGraph::Clear() {
  rendered_ = false;
  durationMs_.reset();
}

int ProbeGraph::Render(const std::string& path) {
  if (!active_) throw MediaGraphError("the probe graph is not active");
  Clear();
  if (!platform::IsRegularFile(path)) throw MediaGraphError(path + " is not a regular file");

  // "file:" keeps a name with a colon from being taken for a protocol.
  AVFormatContext* raw = nullptr;
  int code = avformat_open_input(&raw, ("file:" + path).c_str(), nullptr, nullptr);
  if (code < 0) throw MediaGraphError("cannot open " + path + ": " + ErrorText(code));
  InputPtr input(raw);

  code = avformat_find_stream_info(input.get(), nullptr);
  if (code < 0) throw MediaGraphError("cannot read the streams of " + path + ": " + ErrorText(code));
  if (input->nb_streams == 0) throw MediaGraphError("no streams in " + path);

  int playable = 0;
  int unplayable = 0;
  for (unsigned i = 0; i < input->nb_streams; ++i) {
    const AVStream* stream = input->streams[i];
    if (!IsAudioOrVideo(stream)) continue;
    if (avcodec_find_decoder(stream->codecpar->codec_id)) {
      ++playable;
    } else {
      ++unplayable;
    }
  }
  if (playable == 0) throw MediaGraphError("nothing in " + path + " can be played");

  std::optional<int64_t> durationUs;
  if (input->duration != AV_NOPTS_VALUE && input->duration >= 0) durationUs = input->duration;
  if (input->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE) {
    if (std::optional<int64_t> exact = SumPacketDurations(input.get())) durationUs = exact;
  }
  if (durationUs) durationMs_ = *durationUs / 1000;
  rendered_ = true;
  return unplayable;
}

void ProbeGraph::Play() { throw std::logic_error("the probe graph does not play"); }
void ProbeGraph::Pause() { throw std::logic_error("the probe graph does not play"); }
void ProbeGraph::Stop() { throw std::logic_error("the probe graph does not play"); }
void ProbeGraph::SeekTo(int64_t) { throw std::logic_error("the probe graph does not play"); }

int64_t ProbeGraph::DurationMs() const {
  if (!rendered_) throw MediaGraphError("nothing is rendered");
  if (!durationMs_) throw MediaGraphError("the file tells no duration");
  return *durationMs_;
}

}  // namespace sonvarro
