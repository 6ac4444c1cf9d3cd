#include "services/platform/Modules.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {
namespace {

::HMODULE Native(HMODULE module) { return static_cast<::HMODULE>(module); }

// The loader's reason in the system's words, with the library's path where
// they name a file ("%1 is not a valid Win32 application.") and before them
// where they do not, as the Linux loader's own text has it.
std::string LoaderReason(const std::string& path, DWORD error) {
  const std::wstring widePath = windows::Utf16(path);
  // Every insert a loader message may hold names the library.
  DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(widePath.c_str()), reinterpret_cast<DWORD_PTR>(widePath.c_str()),
                         reinterpret_cast<DWORD_PTR>(widePath.c_str()), reinterpret_cast<DWORD_PTR>(widePath.c_str())};
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, reinterpret_cast<va_list*>(inserts));
  std::wstring reason = length ? std::wstring(text, length) : L"error " + std::to_wstring(error);
  LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' ')) {
    reason.pop_back();
  }
  const std::string utf8 = windows::Utf8(reason);
  return utf8.find(path) == std::string::npos ? path + ": " + utf8 : utf8;
}

// The longest start of text that fits in room bytes without splitting a
// UTF-8 sequence.
size_t WholeCharactersIn(const std::string& text, size_t room) {
  if (text.size() <= room) return text.size();
  size_t length = room;
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  return length;
}

}  // namespace

Result<HMODULE> LoadModule(const std::string& path) {
  // A bare or relative name would be looked up along the system's DLL search
  // path, which is not where our companions lie: the full path names a file
  // like any other path, and the library's own dependencies are found
  // beside it.
  const std::wstring wide = windows::Utf16(path);
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  std::wstring full(needed, L'\0');
  const DWORD length = needed ? GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr) : 0;
  if (length == 0 || length >= needed) {
    return Status::FailedWithText("load the library", path, LoaderReason(path, GetLastError()));
  }
  full.resize(length);
  // A damaged library must not stop the program with a box of the system's.
  DWORD oldMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
  ::HMODULE module = LoadLibraryExW(full.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD error = GetLastError();
  SetThreadErrorMode(oldMode, nullptr);
  if (module) return static_cast<HMODULE>(module);
  return Status::FailedWithText("load the library", path, LoaderReason(path, error));
}

void* GetProcAddress(HMODULE module, const char* name) {
  if (!module || !name) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(Native(module), name));
}

bool FreeLibrary(HMODULE module) { return module && ::FreeLibrary(Native(module)) != 0; }

// The table holds UTF-16; the program's 8-bit texts are UTF-8 on every
// system (as its paths are), so no letter is lost to the ANSI code page.
int LoadStringA(HMODULE module, unsigned id, char* buffer, int bufferMax) {
  if (!buffer || bufferMax <= 0) return 0;
  buffer[0] = '\0';
  if (!module) return 0;
  // With no room given, the system hands out its own read-only copy.
  const wchar_t* text = nullptr;
  const int units = LoadStringW(Native(module), id, reinterpret_cast<wchar_t*>(&text), 0);
  if (units <= 0 || !text) return 0;
  const std::string utf8 = windows::Utf8(std::wstring_view(text, static_cast<size_t>(units)));
  const size_t length = WholeCharactersIn(utf8, static_cast<size_t>(bufferMax - 1));
  std::memcpy(buffer, utf8.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

bool FindResourceA(HMODULE module, const char* name, const char* type, ResourceData& found) {
  if (!module || !name || !type) return false;
  // The system compares names and types without regard to case.
  HRSRC resource = FindResourceW(Native(module), windows::Utf16(name).c_str(), windows::Utf16(type).c_str());
  if (!resource) return false;
  HGLOBAL loaded = LoadResource(Native(module), resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  found = {static_cast<const unsigned char*>(data), SizeofResource(Native(module), resource)};
  return true;
}

}  // namespace sonvarro::platform
