#include "services/platform/Paths.h"

namespace sonvarro::platform {

std::string_view FileNamePart(std::string_view path) {
  const auto separator = path.rfind(kPathSeparator);
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string FolderPart(std::string_view path) {
  const auto separator = path.rfind(kPathSeparator);
  return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator + 1));
}

std::string ExtensionPart(std::string_view path) {
  const std::string_view name = FileNamePart(path);
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
  return WithTrailingSeparator(folder).append(name);
}

}  // namespace sonvarro::platform
