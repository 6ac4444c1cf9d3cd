#include "services/platform/Files.h"

#include <windows.h>

#include <cerrno>

#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {
namespace {

using windows::OwnedHandle;
using windows::Utf16;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(Utf16(path).c_str()); }

}  // namespace

bool Exists(const std::string& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

bool IsRegularFile(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

Status RemoveRegularFile(const std::string& path) {
  constexpr const char* kAttempt = "remove the file";
  const DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return windows::FailedWithLastError(kAttempt, path);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Status::Failed(kAttempt, path, EISDIR);
  if (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))
    return Status::Failed(kAttempt, path, EINVAL);
  if (!DeleteFileW(Utf16(path).c_str())) return windows::FailedWithLastError(kAttempt, path);
  return {};
}

Result<int64_t> FileSize(const std::string& path) {
  constexpr const char* kAttempt = "read the file";
  const DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return windows::FailedWithLastError(kAttempt, path);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Status::Failed(kAttempt, path, EISDIR);
  OwnedHandle file(CreateFileW(Utf16(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return windows::FailedWithLastError(kAttempt, path);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return windows::FailedWithLastError(kAttempt, path);
  return static_cast<int64_t>(size.QuadPart);
}

Status CreateNewFile(const std::string& path) {
  OwnedHandle file(CreateFileW(Utf16(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return windows::FailedWithLastError("create the file", path);
  return {};
}

}  // namespace sonvarro::platform
