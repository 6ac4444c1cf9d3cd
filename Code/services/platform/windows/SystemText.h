#pragma once

// What every Windows file of the platform layer shares: paths and texts
// cross the system's boundary as UTF-16 and the rest of the program keeps
// them in UTF-8; the system's error codes become the errno values the
// layer's results carry on every system.

#include <windows.h>

#include <string>
#include <string_view>

#include "services/platform/Result.h"

namespace sonvarro::platform::windows {

// UTF-8 -> UTF-16; bytes that are no UTF-8 become U+FFFD.
std::wstring Utf16(std::string_view text);
// UTF-16 -> UTF-8.
std::string Utf8(std::wstring_view text);

// The errno value nearest to a Windows error code (EIO when none fits).
int ErrnoOf(DWORD error);

// A failure from GetLastError, read before anything else can change it.
Status FailedWithLastError(const char* attempt, const std::string& path);

// Whether path names its place without a working folder: a drive letter
// with a separator ("C:\..."), or a UNC or device path ("\\server\share").
bool IsAbsolutePath(std::string_view path);

// A handle closed when the object goes.
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() { Close(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.Release()) {}

  bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  HANDLE Release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }

 private:
  void Close() {
    if (Valid()) CloseHandle(handle_);
    handle_ = nullptr;
  }
  HANDLE handle_ = nullptr;
};

}  // namespace sonvarro::platform::windows
