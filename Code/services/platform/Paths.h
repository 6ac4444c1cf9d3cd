#pragma once

// Taking paths apart and putting them together. This is the one place that
// knows the platform's separator: every other part of the program asks here.

#include <string>
#include <string_view>

namespace sonvarro::platform {

#ifdef _WIN32
// Windows also takes "/" as a separator, and the ":" of a drive letter ends
// the folder part of "C:name"; the functions below read paths so.
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// What follows the last separator; the whole path when it has none.
std::string_view FileNamePart(std::string_view path);

// Everything up to and including the last separator; empty when there is none.
std::string FolderPart(std::string_view path);

// The file name's part from its last "." on ("." included), as written;
// empty when the file name has no ".".
std::string ExtensionPart(std::string_view path);

// folder with one separator at its end (an empty folder becomes the root).
std::string WithTrailingSeparator(std::string folder);

// folder and name joined by one separator.
std::string JoinPath(const std::string& folder, std::string_view name);

}  // namespace sonvarro::platform
