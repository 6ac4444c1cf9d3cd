#pragma once

#include <string>

#include "engine/EncoderCommand.h"
#include "services/ConvertParameters.h"

namespace sonvarro {

// AMR output is always mono at 8000 Hz, whatever the selectors hold.
inline constexpr const char* kAmrAudioOptions = " -ac 1 -ar 8000";
inline constexpr const char* kAmrExtension = ".amr";

// Joins the pieces into one encoder run: the logged text, with both paths in
// double quotes, and the argument vector, with both paths as single
// arguments. AMR output takes the video size and video bitrate options and
// fixed mono 8000 Hz audio; every other type the audio options.
EncoderCommand JoinCommandLine(const TConvertParameterStruct& params, const std::string& outputPath);

}  // namespace sonvarro
