#include "FrameProducer.h"

#include <algorithm>
#include <cmath>

#include "EncodeError.h"

namespace sonvarro::evc {
namespace {

// The input side of the trim keeps a few samples past the end so the
// resampler has them as context; the output side cuts exactly.
constexpr int64_t kTrimMarginSamples = 64;
// Chunk for encoders that take any frame size (PCM).
constexpr int kFreeFrameSize = 4096;
// Silence pushed after a short source, in input samples per round: more than
// half of libswresample's longest filter.
constexpr int kResamplerPaddingSamples = 256;
constexpr int kMaxPaddingRounds = 8;

void EnsureCapacity(std::vector<std::vector<float>>& planes, std::vector<float*>& pointers, int samples) {
  for (size_t c = 0; c < planes.size(); ++c) {
    if (static_cast<int>(planes[c].size()) < samples) planes[c].resize(samples);
    pointers[c] = planes[c].data();
  }
}

}  // namespace

FrameProducer::FrameProducer(SourceReader& reader, const FrameTarget& target, const ProduceSettings& settings)
    : reader_(reader),
      target_(target),
      settings_(settings),
      decoded_(MakeFrame()),
      work_(target.channels),
      workPlanes_(target.channels) {
  if (target_.frameSize <= 0) target_.frameSize = kFreeFrameSize;
  ready_.reset(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, target_.channels, target_.frameSize * 2));
  if (!ready_) throw std::bad_alloc();
  if (settings_.durationSeconds) {
    outputCap_ = std::llround(std::max(0.0, *settings_.durationSeconds) * target_.sampleRate);
    if (*outputCap_ == 0) ended_ = true;  // nothing asked: not even a read
  }
  // Unity gain leaves the samples untouched (PCM stays bit-exact); a
  // downmix can sum past full scale, so it is limited even then.
  const bool downmix = reader_.Info().channels > target_.channels;
  if (settings_.gain != 1.0 || downmix)
    limiter_ = std::make_unique<VolumeLimiter>(target_.channels, target_.sampleRate, settings_.gain);
  if (target_.sampleFormat != AV_SAMPLE_FMT_FLTP) {
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, target_.channels);
    SwrContext* converter = nullptr;
    const int status = swr_alloc_set_opts2(&converter, &layout, target_.sampleFormat, target_.sampleRate, &layout,
                                           AV_SAMPLE_FMT_FLTP, target_.sampleRate, 0, nullptr);
    formatConverter_.reset(converter);
    if (status < 0 || swr_init(converter) < 0)
      throw StageError(Failure::kOutput, "the samples cannot be converted for the encoder");
  }
}

EncodeError FrameProducer::UnconvertibleSource() const {
  return EncodeError(Failure::kInput, "the audio of input \"" + reader_.Path() +
                                          "\" cannot be converted to the rate and channels asked");
}

FrameProducer::~FrameProducer() { av_channel_layout_uninit(&resamplerInput_); }

void FrameProducer::SetUpResampler(const AVFrame* frame) {
  if (resampler_ && frame->format == resamplerFormat_ && frame->sample_rate == resamplerRate_ &&
      av_channel_layout_compare(&frame->ch_layout, &resamplerInput_) == 0)
    return;
  if (resampler_) DrainResampler();  // the source changed format midway
  av_channel_layout_uninit(&resamplerInput_);
  if (av_channel_layout_copy(&resamplerInput_, &frame->ch_layout) < 0) throw UnconvertibleSource();
  resamplerFormat_ = frame->format;
  resamplerRate_ = frame->sample_rate;
  resamplerTakenIn_ = 0;
  resamplerGaveOut_ = 0;

  AVChannelLayout input{};
  if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
    av_channel_layout_default(&input, frame->ch_layout.nb_channels);
  else if (av_channel_layout_copy(&input, &frame->ch_layout) < 0)
    throw UnconvertibleSource();
  AVChannelLayout output{};
  av_channel_layout_default(&output, target_.channels);
  SwrContext* resampler = nullptr;
  int status = swr_alloc_set_opts2(&resampler, &output, AV_SAMPLE_FMT_FLTP, target_.sampleRate, &input,
                                   static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
  av_channel_layout_uninit(&input);
  resampler_.reset(resampler);
  if (status >= 0) status = swr_init(resampler);
  if (status < 0) throw UnconvertibleSource();
}

void FrameProducer::Resample(const AVFrame* frame, int skip, int take) {
  SetUpResampler(frame);
  const int bytesPerSample = av_get_bytes_per_sample(static_cast<AVSampleFormat>(frame->format));
  const bool planar = av_sample_fmt_is_planar(static_cast<AVSampleFormat>(frame->format));
  const int channels = frame->ch_layout.nb_channels;
  std::vector<const uint8_t*> input(planar ? channels : 1);
  for (size_t c = 0; c < input.size(); ++c)
    input[c] = frame->extended_data[c] + static_cast<size_t>(skip) * bytesPerSample * (planar ? 1 : channels);
  const int room = swr_get_out_samples(resampler_.get(), take);
  EnsureCapacity(work_, workPlanes_, room);
  const int converted =
      swr_convert(resampler_.get(), reinterpret_cast<uint8_t**>(workPlanes_.data()), room, input.data(), take);
  if (converted < 0) throw UnconvertibleSource();
  resamplerTakenIn_ += take;
  resamplerGaveOut_ += converted;
  Deliver(converted);
}

void FrameProducer::DrainResampler() {
  if (!resampler_) return;
  for (;;) {
    const int room = std::max(swr_get_out_samples(resampler_.get(), 0), 1);
    EnsureCapacity(work_, workPlanes_, room);
    const int converted =
        swr_convert(resampler_.get(), reinterpret_cast<uint8_t**>(workPlanes_.data()), room, nullptr, 0);
    if (converted <= 0) break;
    resamplerGaveOut_ += converted;
    Deliver(converted);
  }
  BringOutHeldBackSamples();
  resampler_.reset();
}

// libswresample keeps input shorter than its filter even through a flush: a
// source of a few samples would vanish. Silence pushed in behind them brings
// them out; of what comes back only as many samples are kept as the rate
// change makes of the input, so the silence itself never reaches the output.
void FrameProducer::BringOutHeldBackSamples() {
  int64_t owed = av_rescale(resamplerTakenIn_, target_.sampleRate, resamplerRate_) - resamplerGaveOut_;
  if (owed <= 0) return;
  const auto format = static_cast<AVSampleFormat>(resamplerFormat_);
  const int channels = resamplerInput_.nb_channels;
  const int bytes = av_samples_get_buffer_size(nullptr, channels, kResamplerPaddingSamples, format, 1);
  if (bytes < 0) throw UnconvertibleSource();
  std::vector<uint8_t> silenceBytes(bytes);
  std::vector<uint8_t*> silence(channels);
  if (av_samples_fill_arrays(silence.data(), nullptr, silenceBytes.data(), channels, kResamplerPaddingSamples, format,
                             1) < 0 ||
      av_samples_set_silence(silence.data(), 0, kResamplerPaddingSamples, channels, format) < 0)
    throw UnconvertibleSource();
  const int room = swr_get_out_samples(resampler_.get(), kResamplerPaddingSamples);
  EnsureCapacity(work_, workPlanes_, std::max(room, 1));
  for (int round = 0; round < kMaxPaddingRounds && owed > 0; ++round) {
    const int converted = swr_convert(resampler_.get(), reinterpret_cast<uint8_t**>(workPlanes_.data()), room,
                                      const_cast<const uint8_t**>(silence.data()), kResamplerPaddingSamples);
    if (converted < 0) break;
    const int kept = static_cast<int>(std::min<int64_t>(converted, owed));
    owed -= kept;
    resamplerGaveOut_ += kept;
    Deliver(kept);
  }
}

// Takes `samples` fresh samples from work_, cuts them to the length asked
// for, passes them through the limiter and queues them for framing.
void FrameProducer::Deliver(int samples) {
  if (outputCap_) samples = static_cast<int>(std::min<int64_t>(samples, *outputCap_ - resampled_));
  if (samples <= 0) return;
  resampled_ += samples;
  const int out = limiter_ ? limiter_->Process(workPlanes_.data(), samples) : samples;
  if (out > 0 && av_audio_fifo_write(ready_.get(), reinterpret_cast<void**>(workPlanes_.data()), out) < out)
    throw std::bad_alloc();
}

// The resampler and the limiter hand back what they hold: the end of the
// audio is never lost.
void FrameProducer::Finish() {
  DrainResampler();
  if (limiter_) {
    EnsureCapacity(work_, workPlanes_, limiter_->HeldSamples());
    const int held = limiter_->Flush(workPlanes_.data());
    if (held > 0 && av_audio_fifo_write(ready_.get(), reinterpret_cast<void**>(workPlanes_.data()), held) < held)
      throw std::bad_alloc();
  }
  ended_ = true;
}

void FrameProducer::Pull() {
  if (!reader_.Next(decoded_.get())) {
    Finish();
    return;
  }
  if (!trim_) {
    const int rate = decoded_->sample_rate;
    std::optional<int64_t> count;
    if (settings_.durationSeconds) count = std::llround(*settings_.durationSeconds * rate) + kTrimMarginSamples;
    trim_.emplace(std::llround(settings_.startSeconds * rate), count);
  }
  const auto position = decoded_->pts == AV_NOPTS_VALUE ? std::nullopt : std::optional<int64_t>(decoded_->pts);
  const TrimWindow::Span span = trim_->Place(position, decoded_->nb_samples);
  if (span.take > 0) Resample(decoded_.get(), span.skip, span.take);
  av_frame_unref(decoded_.get());
  // Enough read: end now rather than decode the rest of the source.
  if (trim_->Done() || (outputCap_ && resampled_ >= *outputCap_)) {
    Finish();
  }
}

// Frames are made here and freed on the encoding thread: buffers of their
// own would cross threads through the allocator on every frame, which cost
// more than a tenth of the CPU time on small frames. A pool hands the same
// few buffers round instead.
void FrameProducer::GetFrameBuffer(AVFrame* frame) {
  if (target_.channels > AV_NUM_DATA_POINTERS) {
    if (av_frame_get_buffer(frame, 0) < 0) throw std::bad_alloc();
    return;
  }
  const auto format = static_cast<AVSampleFormat>(frame->format);
  if (!framePool_) {
    const int size = av_samples_get_buffer_size(nullptr, target_.channels, target_.frameSize, format, 0);
    if (size < 0) throw std::bad_alloc();
    framePool_.reset(av_buffer_pool_init(size, nullptr));
    if (!framePool_) throw std::bad_alloc();
  }
  frame->buf[0] = av_buffer_pool_get(framePool_.get());
  if (!frame->buf[0] || av_samples_fill_arrays(frame->data, frame->linesize, frame->buf[0]->data, target_.channels,
                                               frame->nb_samples, format, 0) < 0)
    throw std::bad_alloc();
  frame->extended_data = frame->data;
}

FramePtr FrameProducer::TakeFrame(int samples) {
  FramePtr frame = MakeFrame();
  frame->format = target_.sampleFormat;
  frame->sample_rate = target_.sampleRate;
  frame->nb_samples = samples;
  av_channel_layout_default(&frame->ch_layout, target_.channels);
  GetFrameBuffer(frame.get());
  // The queue holds these samples (Next() looked) and the conversion only
  // changes the sample format: anything short of all of them is a fault.
  if (!formatConverter_) {
    if (av_audio_fifo_read(ready_.get(), reinterpret_cast<void**>(frame->extended_data), samples) != samples)
      throw StageError(Failure::kOutput, "the samples could not be taken from the queue for the encoder");
  } else {
    EnsureCapacity(work_, workPlanes_, samples);
    if (av_audio_fifo_read(ready_.get(), reinterpret_cast<void**>(workPlanes_.data()), samples) != samples ||
        swr_convert(formatConverter_.get(), frame->extended_data, samples,
                    const_cast<const uint8_t**>(reinterpret_cast<uint8_t**>(workPlanes_.data())), samples) != samples)
      throw StageError(Failure::kOutput, "the samples cannot be converted for the encoder");
  }
  frame->pts = produced_;
  produced_ += samples;
  return frame;
}

FramePtr FrameProducer::Next() {
  while (!ended_ && av_audio_fifo_size(ready_.get()) < target_.frameSize) Pull();
  const int available = av_audio_fifo_size(ready_.get());
  if (available <= 0) return nullptr;
  return TakeFrame(std::min(available, target_.frameSize));
}

}  // namespace sonvarro::evc
