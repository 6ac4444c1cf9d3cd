#include "services/platform/Paths.h"

namespace sonvarro::platform {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Where the folder part of path ends: after its last separator, or after
// the ":" of a drive letter that no separator follows ("C:song.mp3"); 0
// when path has no folder part.
size_t FolderEnd(std::string_view path) {
  const auto separator = path.find_last_of("\\/");
  if (separator != std::string_view::npos) return separator + 1;
  return path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

}  // namespace

std::string_view FileNamePart(std::string_view path) { return path.substr(FolderEnd(path)); }

std::string FolderPart(std::string_view path) { return std::string(path.substr(0, FolderEnd(path))); }

std::string ExtensionPart(std::string_view path) {
  const std::string_view name = FileNamePart(path);
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || !IsSeparator(folder.back())) folder += kPathSeparator;
  return folder;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
  return WithTrailingSeparator(folder).append(name);
}

}  // namespace sonvarro::platform
