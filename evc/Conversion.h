#pragma once

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "Options.h"

namespace sonvarro::evc {

// Set from a signal handler: the conversion stops and removes its output.
std::atomic<bool>& StopRequested();

// Converts one file as the options ask, printing the header, a note when a
// value had to change, and the status lines to `out`. Throws EncodeError.
void Convert(const EncoderOptions& options, std::FILE* out);

// The whole program: reads the options, converts, reports any failure in one
// line on `err`, and returns the exit status.
int EvcMain(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace sonvarro::evc
