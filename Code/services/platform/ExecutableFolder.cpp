#include "services/platform/ExecutableFolder.h"

#include <limits.h>
#include <unistd.h>

#include <cerrno>

#include "services/platform/Paths.h"

namespace sonvarro::platform {

Result<std::string> ExecutablePath() {
  constexpr const char* kAttempt = "read the program's path from";
  constexpr const char* kSelf = "/proc/self/exe";
  char buffer[PATH_MAX];
  const ssize_t length = readlink(kSelf, buffer, sizeof buffer);
  if (length < 0) return Status::FailedWithErrno(kAttempt, kSelf);
  if (length == 0 || static_cast<size_t>(length) >= sizeof buffer) return Status::Failed(kAttempt, kSelf, ENAMETOOLONG);
  return std::string(buffer, static_cast<size_t>(length));
}

std::string ExecutableFolder() {
  const std::string folder = FolderPart(ExecutablePath().ValueOr({}));
  return folder.empty() ? "./" : folder;
}

}  // namespace sonvarro::platform
