#pragma once

#include <string>

namespace sonvarro::test {

// Writes a PCM WAV file (16-bit mono, 8000 Hz) of `milliseconds` of silence
// and returns its path. Any accepted extension can carry it: the probe reads
// the content, not the name.
std::string WriteSilentWav(const std::string& path, int milliseconds);

}  // namespace sonvarro::test
