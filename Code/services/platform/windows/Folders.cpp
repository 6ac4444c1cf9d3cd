#include "services/platform/Folders.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {

namespace fs = std::filesystem;
using windows::Utf16;
using windows::Utf8;

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Utf16(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Result<bool> NameInUse(const std::string& path) {
  if (GetFileAttributesW(Utf16(path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
  return Status::Failed("look for", path, windows::ErrnoOf(error));
}

Status CreateFolder(const std::string& path) {
  if (!CreateDirectoryW(Utf16(path).c_str(), nullptr)) return windows::FailedWithLastError("create the folder", path);
  return {};
}

Status CreateFolders(const std::string& folder) {
  std::error_code error;
  fs::create_directories(fs::path(Utf16(folder)), error);
  if (error) return Status::Failed("create the folder", folder, error.value());
  return {};
}

Status RemoveEmptyFolder(const std::string& path) {
  if (!RemoveDirectoryW(Utf16(path).c_str())) return windows::FailedWithLastError("remove the folder", path);
  return {};
}

Result<std::string> AbsolutePath(const std::string& path) {
  constexpr const char* kAttempt = "find the working folder for";
  if (windows::IsAbsolutePath(path)) return path;
  const std::wstring wide = Utf16(path);
  const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (length == 0) return windows::FailedWithLastError(kAttempt, path);
  std::wstring absolute(length, L'\0');
  const DWORD written = GetFullPathNameW(wide.c_str(), length, absolute.data(), nullptr);
  if (written == 0 || written >= length) return windows::FailedWithLastError(kAttempt, path);
  absolute.resize(written);
  return Utf8(absolute);
}

Status ForEachFileIn(const std::string& folder, const std::function<void(const std::string& name)>& visit) {
  std::error_code error;
  fs::directory_iterator it(fs::path(Utf16(folder)), error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    visit(Utf8(it->path().filename().wstring()));
  }
  if (error) return Status::Failed("list the folder", folder, error.value());
  return {};
}

}  // namespace sonvarro::platform
