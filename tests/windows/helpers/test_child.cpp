// A child program for the platform tests on Windows. Its arguments come
// split by the C runtime, as any program's do:
//   test_child ARG...                each argument as UTF-8 in hex, one a line
//   test_child --wait                says "waiting" and waits a minute
//   test_child --start-waiting-child starts "test_child --wait" (its id on a
//                                    line), then waits a minute
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

void PrintHex(const wchar_t* argument) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, argument, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, argument, -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();
  for (unsigned char c : utf8) std::printf("%02x", c);
  std::printf("\n");
}

int StartWaitingChild() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(self) + L"\" --wait";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &started))
    return 2;
  std::printf("%lu\n", started.dwProcessId);
  std::fflush(stdout);
  Sleep(60000);
  TerminateProcess(started.hProcess, 1);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wcscmp(argv[1], L"--wait") == 0) {
    std::printf("waiting\n");
    std::fflush(stdout);
    Sleep(60000);
    return 0;
  }
  if (argc == 2 && std::wcscmp(argv[1], L"--start-waiting-child") == 0) return StartWaitingChild();
  for (int i = 1; i < argc; ++i) PrintHex(argv[i]);
  return 0;
}
