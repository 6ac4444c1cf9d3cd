#include "LibavEncoder.h"

#include <algorithm>

#include "EncodeError.h"

namespace sonvarro::evc {
namespace {

AVSampleFormat PreferredSampleFormat(const AVCodec* codec) {
  if (!codec->sample_fmts) return AV_SAMPLE_FMT_FLTP;
  for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f)
    if (*f == AV_SAMPLE_FMT_FLTP) return *f;
  return codec->sample_fmts[0];
}

// Null when the encoder refuses these values.
CodecContextPtr OpenContext(const AVCodec* codec, const AudioFormat& format, bool globalHeader) {
  CodecContextPtr context(avcodec_alloc_context3(codec));
  if (!context) return nullptr;
  context->sample_fmt = PreferredSampleFormat(codec);
  context->sample_rate = format.sampleRate;
  av_channel_layout_default(&context->ch_layout, format.channels);
  context->bit_rate = format.bitRate;
  context->time_base = AVRational{1, format.sampleRate};
  if (globalHeader) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (avcodec_open2(context.get(), codec, nullptr) < 0) return nullptr;
  return context;
}

class LibavAudioEncoder : public AudioEncoder {
 public:
  LibavAudioEncoder(CodecContextPtr context, const AudioFormat& format)
      : context_(std::move(context)), format_(format), packet_(MakePacket()) {}

  const AudioFormat& Format() const override { return format_; }
  AVSampleFormat SampleFormat() const override { return context_->sample_fmt; }
  int FrameSize() const override {
    return (context_->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) ? 0 : context_->frame_size;
  }
  int PrimingSamples() const override { return context_->initial_padding; }
  void FillParameters(AVCodecParameters* parameters) const override {
    if (avcodec_parameters_from_context(parameters, context_.get()) < 0)
      throw StageError(Failure::kOutput,
                       "the " + CodecName() + " encoder's settings cannot be passed to the container");
  }
  std::string CodecName() const { return avcodec_get_name(context_->codec_id); }
  void Encode(const AVFrame* frame, const PacketSink& sink) override {
    int status = avcodec_send_frame(context_.get(), frame);
    if (status < 0 && status != AVERROR_EOF)
      throw StageError(Failure::kOutput, "the " + CodecName() + " encoder failed");
    while ((status = avcodec_receive_packet(context_.get(), packet_.get())) >= 0) {
      sink(packet_.get());
      av_packet_unref(packet_.get());
    }
    if (status != AVERROR(EAGAIN) && status != AVERROR_EOF)
      throw StageError(Failure::kOutput, "the " + CodecName() + " encoder failed");
  }

 private:
  CodecContextPtr context_;
  AudioFormat format_;
  PacketPtr packet_;
};

// Encoders that round a bitrate quietly (LAME, AC-3) only show the real one in
// their output: encode a little silence and let the decoder read it back.
int64_t MeasuredBitrate(AVCodecContext* encoder) {
  const AVCodec* decoderCodec = avcodec_find_decoder(encoder->codec_id);
  if (!decoderCodec) return 0;
  CodecContextPtr decoder(avcodec_alloc_context3(decoderCodec));
  if (!decoder) return 0;
  decoder->bit_rate = 0;  // a fresh context holds a default, not a reading
  decoder->sample_rate = encoder->sample_rate;
  if (av_channel_layout_copy(&decoder->ch_layout, &encoder->ch_layout) < 0) return 0;
  if (encoder->extradata_size > 0) {
    decoder->extradata = static_cast<uint8_t*>(av_mallocz(encoder->extradata_size + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!decoder->extradata) return 0;
    std::copy_n(encoder->extradata, encoder->extradata_size, decoder->extradata);
    decoder->extradata_size = encoder->extradata_size;
  }
  if (avcodec_open2(decoder.get(), decoderCodec, nullptr) < 0) return 0;

  FramePtr silence = MakeFrame();
  silence->format = encoder->sample_fmt;
  silence->sample_rate = encoder->sample_rate;
  silence->nb_samples = encoder->frame_size > 0 ? encoder->frame_size : 1024;
  if (av_channel_layout_copy(&silence->ch_layout, &encoder->ch_layout) < 0 ||
      av_frame_get_buffer(silence.get(), 0) < 0 ||
      av_samples_set_silence(silence->extended_data, 0, silence->nb_samples, silence->ch_layout.nb_channels,
                             encoder->sample_fmt) < 0)
    return 0;
  PacketPtr packet = MakePacket();
  FramePtr decoded = MakeFrame();
  constexpr int kMaxFrames = 32;
  for (int i = 0; i <= kMaxFrames; ++i) {
    silence->pts = int64_t{i} * silence->nb_samples;
    if (avcodec_send_frame(encoder, i < kMaxFrames ? silence.get() : nullptr) < 0) return 0;
    while (avcodec_receive_packet(encoder, packet.get()) >= 0) {
      const bool sent = avcodec_send_packet(decoder.get(), packet.get()) >= 0;
      av_packet_unref(packet.get());
      if (sent && avcodec_receive_frame(decoder.get(), decoded.get()) >= 0 && decoder->bit_rate > 0)
        return decoder->bit_rate;
    }
  }
  return 0;
}

class LibavProbe : public IEncoderProbe {
 public:
  LibavProbe(const AVCodec* codec, bool globalHeader) : codec_(codec), globalHeader_(globalHeader) {}

  std::string CodecName() const override { return avcodec_get_name(codec_->id); }
  std::vector<int> StatedSampleRates() const override {
    std::vector<int> rates;
    for (const int* r = codec_->supported_samplerates; r && *r; ++r) rates.push_back(*r);
    return rates;
  }
  std::vector<int> StatedChannelCounts() const override {
    std::vector<int> counts;
    for (const AVChannelLayout* l = codec_->ch_layouts; l && l->nb_channels; ++l) counts.push_back(l->nb_channels);
    return counts;
  }
  bool TakesBitrate() const override {
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec_->id);
    return !(descriptor && (descriptor->props & AV_CODEC_PROP_LOSSLESS));
  }
  bool Opens(const AudioFormat& format) override { return OpenContext(codec_, format, globalHeader_) != nullptr; }
  int64_t EffectiveBitrate(const AudioFormat& format) override {
    CodecContextPtr context = OpenContext(codec_, format, globalHeader_);
    if (!context) return format.bitRate;
    const int64_t opened = context->bit_rate;  // some encoders clamp it here
    const int64_t measured = MeasuredBitrate(context.get());
    return measured > 0 ? measured : opened;
  }

 private:
  const AVCodec* codec_;
  bool globalHeader_;
};

class LibavFactory : public EncoderFactory {
 public:
  LibavFactory(const AVCodec* codec, bool globalHeader)
      : codec_(codec), globalHeader_(globalHeader), probe_(codec, globalHeader) {}
  IEncoderProbe& Probe() override { return probe_; }
  std::unique_ptr<AudioEncoder> Open(const AudioFormat& format) override {
    CodecContextPtr context = OpenContext(codec_, format, globalHeader_);
    if (!context)
      throw StageError(Failure::kOutput,
                       std::string("the ") + avcodec_get_name(codec_->id) + " encoder cannot be opened");
    AudioFormat opened = format;
    if (format.bitRate == 0 || context->bit_rate < format.bitRate) opened.bitRate = context->bit_rate;
    return std::make_unique<LibavAudioEncoder>(std::move(context), opened);
  }

 private:
  const AVCodec* codec_;
  bool globalHeader_;
  LibavProbe probe_;
};

}  // namespace

std::unique_ptr<EncoderFactory> MakeLibavEncoderFactory(const AVCodec* codec, bool globalHeader) {
  return std::make_unique<LibavFactory>(codec, globalHeader);
}

}  // namespace sonvarro::evc
