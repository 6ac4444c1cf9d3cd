#pragma once

#include <string>

namespace sonvarro {

// The first two numbers of a file version, joined by ".": "1.8.0.0" gives
// "1.8". Empty pieces do not count; a version of one number gives it alone.
std::string VersionText(const std::string& fileVersion);

// VersionText of the program file at path; empty when it carries none.
std::string GetVersionText(const std::string& path);

}  // namespace sonvarro
