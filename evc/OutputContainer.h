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

// The fewest samples of audio worth writing into the container. Raw AAC
// (ADTS) and AC-3 streams have no header: players recognise them by a run
// of frames at the start, and a stream of one or two frames passes for
// nothing at all. 0 where any length is recognised.
int64_t MinimumSamples(const AVOutputFormat* container, AVCodecID codec, int frameSize);

}  // namespace sonvarro::evc
