#pragma once

#include <string>

namespace sonvarro::evc {

// What an FFmpeg error code means for the file it came from, in words a
// user can act on: FFmpeg's own texts ("Invalid data found when processing
// input", "Not yet implemented in FFmpeg, patches welcome") speak of its
// insides, not of the file.

// Completes "input "x" ...": "does not exist", "is not a media file this
// program can read", "ends early", ...
std::string InputProblem(int code);

// Completes "cannot write output "x": ...": "its folder does not exist",
// "the disk is full", ...; empty when the code says nothing more useful.
std::string OutputProblem(int code);

}  // namespace sonvarro::evc
