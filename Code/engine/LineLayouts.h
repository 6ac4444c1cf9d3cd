#pragma once

// The order of the pieces in the encoder command line: one layout for AMR
// output, another for every other type, and the joining of the pieces by
// them into the logged text and the argument vector.

#include <optional>
#include <string>
#include <string_view>

#include "engine/EncoderCommand.h"
#include "engine/OutputTables.h"
#include "services/ConvertParameters.h"

namespace sonvarro {

// AMR output is always mono at 8000 Hz, whatever the selectors hold.
inline constexpr const char* kAmrAudioOptions = " -ac 1 -ar 8000";
inline constexpr std::string_view kAmrExtension = OutputTypeTable[kOutputAmr].extension;

// The trim range as the encoder receives it: the start and the length, each
// one argument of its own whatever it holds.
struct TrimArguments {
  std::string start;   // for "-ss"
  std::string length;  // for "-t"
};

// " -ss start -t length", the trim option as the log shows it; empty without
// a range.
std::string TrimOptionText(const std::optional<TrimArguments>& trim);

// Joins the pieces into one encoder run: the logged text, with both paths in
// double quotes, and the argument vector, with both paths as single
// arguments. AMR output takes the video size and video bitrate options and
// fixed mono 8000 Hz audio; every other type the audio options. The trim
// option comes from trim, not from params.TrimOption: its values are never
// cut at blanks, so a start or a length cannot add arguments of its own.
EncoderCommand JoinCommandLine(const TConvertParameterStruct& params, const std::optional<TrimArguments>& trim,
                               const std::string& outputPath);

}  // namespace sonvarro
