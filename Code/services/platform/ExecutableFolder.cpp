#include "services/platform/ExecutableFolder.h"

#include <limits.h>
#include <unistd.h>

namespace sonvarro::platform {

std::string ExecutableFolder() {
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return "./";
  std::string path(buffer, static_cast<size_t>(length));
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return "./";
  path.resize(slash + 1);
  return path;
}

}  // namespace sonvarro::platform
