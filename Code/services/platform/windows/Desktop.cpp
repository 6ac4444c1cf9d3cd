#include "services/platform/Desktop.h"

// The other system headers build on windows.h, which comes first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
// clang-format on

#include <cstdio>

#include "services/platform/Paths.h"
#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {
namespace {

using windows::Utf16;

// Hands target to the shell with the verb (nullptr: the type's default),
// without waiting. The shell shows its own message when nothing can open it.
void Shell(const wchar_t* verb, const std::string& target) {
  ShellExecuteW(nullptr, verb, Utf16(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// Power-off needs the shutdown privilege, which a process holds but has not
// enabled.
bool EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  windows::OwnedHandle owned(token);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return false;
  return AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
}

class SystemDesktop final : public IDesktop {
 public:
  // Like a user's own request, it is refused while something holds it off.
  void PowerOff() override {
    EnableShutdownPrivilege();
    ExitWindowsEx(EWX_POWEROFF, SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_FLAG_PLANNED);
  }
  void OpenFolder(const std::string& folder) override { Shell(L"explore", folder); }
  void ShellOpen(const std::string& target) override { Shell(nullptr, target); }
  void OpenInBrowser(const std::string& url) override { Shell(L"open", url); }
  // The program the shell would start for the file's extension.
  bool HasHandlerFor(const std::string& file) override {
    const std::string extension = ExtensionPart(file);
    if (extension.empty()) return false;
    wchar_t program[MAX_PATH];
    DWORD size = MAX_PATH;
    const HRESULT found = AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN, ASSOCSTR_EXECUTABLE, Utf16(extension).c_str(),
                                            nullptr, program, &size);
    // A program whose path does not fit the buffer is a program all the same.
    return (found == S_OK && size > 1) || found == E_POINTER;
  }
  MessageAnswer ShowMessage(const std::string& caption, const std::string& text, MessageIcon, MessageButtons) override {
    // Without windows there is nobody to answer: say it on the console.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return MessageAnswer::None;
  }
};

SystemDesktop& SystemOwn() {
  static SystemDesktop desktop;
  return desktop;
}

}  // namespace

IDesktop& SystemDesktop() { return SystemOwn(); }

}  // namespace sonvarro::platform
