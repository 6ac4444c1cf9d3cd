// evc.exe's entry on Windows: the arguments come as UTF-16 whatever the code
// page and are handed on as UTF-8, the text FFmpeg opens files by; a
// console's Ctrl+C, Ctrl+Break and closing stop the run as SIGINT, SIGTERM
// and SIGHUP do on Linux.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Conversion.h"

namespace {

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return "";
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();  // the terminating zero
  return utf8;
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  sonvarro::evc::StopRequested().store(true);
  // For these the system ends the process as soon as the handler returns:
  // waiting here gives the run its moment to remove the partial output, and
  // the process then ends when the run does.
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) Sleep(INFINITE);
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
  // Text mode would write "\r\n" for every "\n": the lines must read as on
  // Linux, where a status line ends in "\r" and the last one in "\n".
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
  return sonvarro::evc::EvcMain(args, stdout, stderr);
}
