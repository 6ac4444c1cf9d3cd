#include "services/platform/ExecutableFolder.h"

#include <limits.h>
#include <unistd.h>

#include "services/platform/Paths.h"

namespace sonvarro::platform {

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return {};
  return std::string(buffer, static_cast<size_t>(length));
}

std::string ExecutableFolder() {
  const std::string folder = FolderPart(ExecutablePath());
  return folder.empty() ? "./" : folder;
}

}  // namespace sonvarro::platform
