#include "services/platform/ExecutableFolder.h"

#include <windows.h>

#include <cerrno>

#include "services/platform/Paths.h"
#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {

Result<std::string> ExecutablePath() {
  constexpr const char* kAttempt = "read the program's path from";
  constexpr const char* kModule = "the module";
  // Long paths can exceed MAX_PATH: the buffer grows until the name fits.
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::wstring buffer(size, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return windows::FailedWithLastError(kAttempt, kModule);
    if (length < size) {
      buffer.resize(length);
      return windows::Utf8(buffer);
    }
  }
  return Status::Failed(kAttempt, kModule, ENAMETOOLONG);
}

std::string ExecutableFolder() {
  const std::string folder = FolderPart(ExecutablePath().ValueOr({}));
  return folder.empty() ? std::string(".") + kPathSeparator : folder;
}

}  // namespace sonvarro::platform
