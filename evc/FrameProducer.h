#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "EncodeError.h"
#include "Libav.h"
#include "SourceReader.h"
#include "TrimWindow.h"
#include "VolumeLimiter.h"

namespace sonvarro::evc {

// What the encoder takes.
struct FrameTarget {
  int sampleRate = 0;
  int channels = 0;
  AVSampleFormat sampleFormat = AV_SAMPLE_FMT_FLTP;
  int frameSize = 0;  // 0: any
};

struct ProduceSettings {
  double startSeconds = 0;
  std::optional<double> durationSeconds;
  double gain = 1.0;
};

// Turns the source's decoded audio into the encoder's frames: the part asked
// for, resampled and remixed, at the volume asked for, limited where that
// would pass full scale, cut into frames of the encoder's size with
// timestamps in samples.
class FrameProducer {
 public:
  FrameProducer(SourceReader& reader, const FrameTarget& target, const ProduceSettings& settings);
  ~FrameProducer();

  // The next frame; null once everything is out.
  FramePtr Next();

  int64_t SamplesProduced() const { return produced_; }
  // Samples in every frame but the last.
  int FrameSize() const { return target_.frameSize; }

 private:
  EncodeError UnconvertibleSource() const;
  void Pull();
  void Resample(const AVFrame* frame, int skip, int take);
  void SetUpResampler(const AVFrame* frame);
  void DrainResampler();
  void BringOutHeldBackSamples();
  void Finish();
  void Deliver(int samples);
  FramePtr TakeFrame(int samples);
  void GetFrameBuffer(AVFrame* frame);

  SourceReader& reader_;
  FrameTarget target_;
  ProduceSettings settings_;
  FramePtr decoded_;
  std::optional<TrimWindow> trim_;
  SwrPtr resampler_;
  AVChannelLayout resamplerInput_{};
  int resamplerFormat_ = -1;
  int resamplerRate_ = 0;
  int64_t resamplerTakenIn_ = 0;  // samples the current resampler was given
  int64_t resamplerGaveOut_ = 0;  // and those it has returned
  SwrPtr formatConverter_;        // planar float to the encoder's format
  std::unique_ptr<VolumeLimiter> limiter_;
  AudioFifoPtr ready_;
  BufferPoolPtr framePool_;
  std::vector<std::vector<float>> work_;
  std::vector<float*> workPlanes_;
  std::optional<int64_t> outputCap_;
  int64_t resampled_ = 0;
  int64_t produced_ = 0;
  bool ended_ = false;
};

}  // namespace sonvarro::evc
