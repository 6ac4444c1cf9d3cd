#include "AmrNbEncoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

extern "C" {
#include <opencore-amrnb/interf_enc.h>
}

#include "EncodeError.h"
#include "NearestValue.h"

namespace sonvarro::evc {
namespace {

// The codec itself fixes these: 20 ms frames of 8000 Hz mono speech, and one
// bitrate per mode, MR475 to MR122 in the library's order.
constexpr int kSampleRate = 8000;
constexpr int kFrameSamples = 160;
constexpr int kMaxFrameBytes = 32;
const std::vector<int> kModeBitrates = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};

int NearestModeIndex(int64_t bitRate) {
  const int nearest = ByDistance(static_cast<int>(std::min<int64_t>(bitRate, 1000000)), kModeBitrates).front();
  return static_cast<int>(std::find(kModeBitrates.begin(), kModeBitrates.end(), nearest) - kModeBitrates.begin());
}

class AmrNbAudioEncoder : public AudioEncoder {
 public:
  explicit AmrNbAudioEncoder(int64_t bitRate)
      : state_(Encoder_Interface_init(0)),
        mode_(bitRate > 0 ? NearestModeIndex(bitRate) : kModeBitrates.size() - 1),
        packet_(MakePacket()) {
    if (!state_) throw StageError(Failure::kOutput, "the AMR-NB encoder cannot be opened");
    format_ = {kSampleRate, 1, kModeBitrates[mode_]};
  }
  ~AmrNbAudioEncoder() override { Encoder_Interface_exit(state_); }

  const AudioFormat& Format() const override { return format_; }
  AVSampleFormat SampleFormat() const override { return AV_SAMPLE_FMT_S16; }
  int FrameSize() const override { return kFrameSamples; }
  int PrimingSamples() const override { return 0; }
  void FillParameters(AVCodecParameters* parameters) const override {
    parameters->codec_type = AVMEDIA_TYPE_AUDIO;
    parameters->codec_id = AV_CODEC_ID_AMR_NB;
    parameters->sample_rate = kSampleRate;
    av_channel_layout_default(&parameters->ch_layout, 1);
    parameters->bit_rate = format_.bitRate;
    parameters->frame_size = kFrameSamples;
  }
  void Encode(const AVFrame* frame, const PacketSink& sink) override {
    if (!frame) return;  // nothing held back: every frame is encoded at once
    // A short last frame is completed with silence.
    short speech[kFrameSamples] = {};
    const int samples = std::min(frame->nb_samples, kFrameSamples);
    std::memcpy(speech, frame->data[0], samples * sizeof(short));
    uint8_t out[kMaxFrameBytes + 8];
    const int bytes = Encoder_Interface_Encode(state_, static_cast<Mode>(mode_), speech, out, 0);
    if (bytes <= 0) throw StageError(Failure::kOutput, "the AMR-NB encoder failed");
    if (av_new_packet(packet_.get(), bytes) < 0) throw std::bad_alloc();
    std::memcpy(packet_->data, out, bytes);
    packet_->pts = packet_->dts = frame->pts;
    packet_->duration = kFrameSamples;
    sink(packet_.get());
    av_packet_unref(packet_.get());
  }

 private:
  void* state_;
  int mode_;
  AudioFormat format_;
  PacketPtr packet_;
};

class AmrNbProbe : public IEncoderProbe {
 public:
  std::string CodecName() const override { return "amr_nb"; }
  std::vector<int> StatedSampleRates() const override { return {kSampleRate}; }
  std::vector<int> StatedChannelCounts() const override { return {1}; }
  bool TakesBitrate() const override { return true; }
  bool Opens(const AudioFormat& format) override { return format.sampleRate == kSampleRate && format.channels == 1; }
  int64_t EffectiveBitrate(const AudioFormat& format) override {
    return kModeBitrates[format.bitRate > 0 ? NearestModeIndex(format.bitRate) : kModeBitrates.size() - 1];
  }
};

class AmrNbFactory : public EncoderFactory {
 public:
  IEncoderProbe& Probe() override { return probe_; }
  std::unique_ptr<AudioEncoder> Open(const AudioFormat& format) override {
    return std::make_unique<AmrNbAudioEncoder>(format.bitRate);
  }

 private:
  AmrNbProbe probe_;
};

}  // namespace

std::unique_ptr<EncoderFactory> MakeAmrNbEncoderFactory() { return std::make_unique<AmrNbFactory>(); }

}  // namespace sonvarro::evc
