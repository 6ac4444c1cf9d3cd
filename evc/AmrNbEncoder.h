#pragma once

#include "AudioEncoder.h"

namespace sonvarro::evc {

// AMR-NB through libopencore-amrnb: Debian's FFmpeg carries only its decoder.
std::unique_ptr<EncoderFactory> MakeAmrNbEncoderFactory();

}  // namespace sonvarro::evc
