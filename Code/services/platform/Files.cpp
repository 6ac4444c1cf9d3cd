#include "services/platform/Files.h"

#include <sys/stat.h>
#include <unistd.h>

namespace sonvarro::platform {

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool RemoveRegularFile(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && unlink(path.c_str()) == 0;
}

}  // namespace sonvarro::platform
