#include "services/platform/FileVersion.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {
namespace {

constexpr const char* kAttempt = "read the file version of";

// Why GetFileVersionInfoSizeW found nothing, in the results the Linux reader
// gives: the file's own error when it cannot be read, ENODATA for a module
// without a version, ENOEXEC for anything the loader cannot map as a module
// (the system says only that it found no version there).
int ErrorOfMissingVersion(const std::wstring& path, DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_INVALID_NAME: return windows::ErrnoOf(error);
    default: break;
  }
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return ENOEXEC;
  FreeLibrary(module);
  return ENODATA;
}

// The FileVersion string of the first language the resource lists.
bool FileVersionString(const std::vector<unsigned char>& block, std::string& version) {
  struct Translation {
    WORD language;
    WORD codePage;
  };
  void* value = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &size) || !value) return false;
  const auto* translations = static_cast<const Translation*>(value);
  for (UINT i = 0; i < size / sizeof(Translation); ++i) {
    wchar_t query[64];
    std::swprintf(query, sizeof query / sizeof query[0], L"\\StringFileInfo\\%04x%04x\\FileVersion",
                  translations[i].language, translations[i].codePage);
    void* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query, &text, &length) || !text || length == 0) continue;
    const auto* wide = static_cast<const wchar_t*>(text);
    version = windows::Utf8(std::wstring_view(wide, wcsnlen(wide, length)));
    return true;
  }
  return false;
}

}  // namespace

Result<std::string> FileVersionOf(const std::string& path) {
  const std::wstring wide = windows::Utf16(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return windows::FailedWithLastError(kAttempt, path);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Status::Failed(kAttempt, path, EISDIR);

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &ignored);
  if (size == 0) return Status::Failed(kAttempt, path, ErrorOfMissingVersion(wide, GetLastError()));
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(wide.c_str(), 0, size, block.data())) {
    return Status::Failed(kAttempt, path, ErrorOfMissingVersion(wide, GetLastError()));
  }
  std::string version;
  if (!FileVersionString(block, version)) return Status::Failed(kAttempt, path, ENODATA);
  return version;
}

}  // namespace sonvarro::platform
