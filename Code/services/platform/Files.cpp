#include "services/platform/Files.h"

#include <sys/stat.h>

namespace sonvarro::platform {

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace sonvarro::platform
