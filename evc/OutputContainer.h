#pragma once

#include <string>

#include "Libav.h"

namespace sonvarro::evc {

// The muxer for an output: named by -f, else chosen by the file's extension.
// Throws EncodeError (Failure::kOutput / kBadOptions) naming the file.
const AVOutputFormat* ChooseContainer(const std::string& outputPath, const std::string& formatName);

// The codec written: the one -acodec names, else the container's own audio
// codec. Throws when the container cannot hold it.
AVCodecID ChooseAudioCodec(const AVOutputFormat* container, const std::string& codecName,
                           const std::string& outputPath);

}  // namespace sonvarro::evc
