#include "services/platform/Console.h"

#include <windows.h>

#include <atomic>

namespace sonvarro::platform {
namespace {

std::atomic<bool> interrupted{false};

// Runs on a thread the system starts for the event; TRUE keeps the default
// handler, which would end the process, from running.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  interrupted = true;
  return TRUE;
}

}  // namespace

bool StandardErrorIsTerminal() {
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  return error != nullptr && error != INVALID_HANDLE_VALUE && GetFileType(error) == FILE_TYPE_CHAR &&
         GetConsoleMode(error, &mode) != 0;
}

void CatchInterrupt() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool InterruptRequested() { return interrupted; }

}  // namespace sonvarro::platform
