#include "services/platform/HomeFolder.h"

// The other system headers build on windows.h, which comes first.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {
namespace {

// The profile folder the account records, as the shell knows it.
std::string AccountHome() {
  PWSTR folder = nullptr;
  std::string home;
  if (SHGetKnownFolderPath(FOLDERID_Profile, 0, nullptr, &folder) == S_OK) home = windows::Utf8(folder);
  CoTaskMemFree(folder);
  return home;
}

}  // namespace

std::string ChooseHomeFolder(const std::string& homeVariable, const std::string& accountHome) {
  if (windows::IsAbsolutePath(homeVariable)) return homeVariable;
  return accountHome;
}

// Windows names the home %USERPROFILE%.
std::string HomeFolder() { return ChooseHomeFolder(EnvironmentValue("USERPROFILE"), AccountHome()); }

// Read in UTF-16: the 8-bit environment holds only what the code page can.
std::string EnvironmentValue(const char* name) {
  const std::wstring wideName = windows::Utf16(name);
  const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
  if (length == 0 || length >= size) return {};
  value.resize(length);
  return windows::Utf8(value);
}

}  // namespace sonvarro::platform
