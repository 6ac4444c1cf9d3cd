#include "services/platform/Spawn.h"

#include <io.h>
#include <windows.h>

#include "services/platform/windows/StartProcess.h"
#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {
namespace {

using windows::OwnedHandle;

// The system handle behind one of our C runtime's descriptors.
HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

}  // namespace

Result<pid_t> Spawn(const SpawnRequest& request) {
  OwnedHandle nothing;
  HANDLE input = nullptr;
  if (request.input >= 0) {
    input = HandleOf(request.input);
  } else {
    nothing.Reset(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    input = nothing.Get();
  }
  windows::ProcessStart start;
  start.args = request.args;
  start.searchPath = request.searchPath;
  start.input = input;
  start.output = request.output >= 0 ? HandleOf(request.output) : GetStdHandle(STD_OUTPUT_HANDLE);
  start.error = request.output >= 0 ? start.output : GetStdHandle(STD_ERROR_HANDLE);
  start.workingFolder = request.workingFolder;
  start.ownGroup = request.ownSession;
  const Result<windows::StartedProcess> started = windows::StartProcess(start);
  if (!started) return started.GetStatus();
  CloseHandle(started.Value().process);
  return static_cast<pid_t>(started.Value().id);
}

}  // namespace sonvarro::platform
