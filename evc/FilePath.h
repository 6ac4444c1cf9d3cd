#pragma once

#include <filesystem>
#include <string>

namespace sonvarro::evc {

// The program's paths are UTF-8 text, as FFmpeg takes them. A plain
// std::filesystem::path would read them in the ANSI code page on Windows,
// which mangles every name that is not ASCII.
inline std::filesystem::path FilePath(const std::string& utf8) { return std::filesystem::u8path(utf8); }

}  // namespace sonvarro::evc
