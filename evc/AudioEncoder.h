#pragma once

#include <functional>
#include <memory>

#include "FormatResolver.h"
#include "Libav.h"

namespace sonvarro::evc {

// One opened encoder. Frames carry Format()'s rate and channels in
// SampleFormat(); packets come out with timestamps in samples.
class AudioEncoder {
 public:
  virtual ~AudioEncoder() = default;
  virtual const AudioFormat& Format() const = 0;
  virtual AVSampleFormat SampleFormat() const = 0;
  // Samples per frame the encoder wants; 0 takes any count.
  virtual int FrameSize() const = 0;
  // Samples of delay before the input's first sample in the decoded output:
  // a packet stamped p holds the output for input samples p to p + frame.
  virtual int PrimingSamples() const = 0;
  virtual void FillParameters(AVCodecParameters* parameters) const = 0;
  using PacketSink = std::function<void(AVPacket*)>;
  // Encodes one frame, or drains the encoder when `frame` is null.
  virtual void Encode(const AVFrame* frame, const PacketSink& sink) = 0;
};

// The encoder for a codec, found by the codec's FFmpeg name ("mp3", "amr_nb").
class EncoderFactory {
 public:
  // Null when no encoder for that codec is available.
  static std::unique_ptr<EncoderFactory> ForCodec(AVCodecID codec, bool globalHeader);
  virtual ~EncoderFactory() = default;
  virtual IEncoderProbe& Probe() = 0;
  // Throws EncodeError when the encoder refuses the format.
  virtual std::unique_ptr<AudioEncoder> Open(const AudioFormat& format) = 0;
};

}  // namespace sonvarro::evc
