#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sonvarro::evc {

struct AudioFormat {
  int sampleRate = 0;
  int channels = 0;
  int64_t bitRate = 0;  // bit/s; 0 leaves the encoder's default
};

// What an encoder says about itself, and a way to ask it about what it does
// not say: some refuse a value when opened, some quietly round it.
class IEncoderProbe {
 public:
  virtual ~IEncoderProbe() = default;
  virtual std::string CodecName() const = 0;
  virtual std::vector<int> StatedSampleRates() const = 0;    // empty: not stated
  virtual std::vector<int> StatedChannelCounts() const = 0;  // empty: not stated
  virtual bool TakesBitrate() const = 0;
  virtual bool Opens(const AudioFormat& format) = 0;
  // The bitrate the encoder really uses for a format it opens with.
  virtual int64_t EffectiveBitrate(const AudioFormat& format) = 0;
};

struct ResolvedFormat {
  bool ok = false;
  AudioFormat format;  // bitRate is the effective one (0: encoder's default)
  std::string note;    // one line when a value had to change, else empty
};

// The format nearest to `wanted` that the encoder takes: stated sample rates
// and channel counts first, then the bitrate it accepts at those.
ResolvedFormat ResolveFormat(IEncoderProbe& probe, const AudioFormat& wanted);

// "12.2 kbit/s", "128 kbit/s".
std::string BitrateText(int64_t bitsPerSecond);

}  // namespace sonvarro::evc
