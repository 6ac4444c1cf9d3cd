#pragma once

#include "AudioEncoder.h"

namespace sonvarro::evc {

// The encoders FFmpeg's libavcodec provides.
std::unique_ptr<EncoderFactory> MakeLibavEncoderFactory(const AVCodec* codec, bool globalHeader);

}  // namespace sonvarro::evc
