#include "services/platform/ChildProcess.h"

#include <windows.h>

#include <algorithm>

#include "services/platform/windows/StartProcess.h"
#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {
namespace {

using windows::OwnedHandle;

// Anonymous pipes cannot be waited on: the waits look at the pipe this often.
constexpr DWORD kPollMs = 5;
// The exit code of a child ended by its owner.
constexpr UINT kKilledExitCode = 1;

struct Pipe {
  OwnedHandle read;
  OwnedHandle write;
  bool Open() {
    HANDLE ends[2] = {nullptr, nullptr};
    if (!CreatePipe(&ends[0], &ends[1], nullptr, 0)) return false;
    read.Reset(ends[0]);
    write.Reset(ends[1]);
    return true;
  }
};

enum class PipeState { HasData, Empty, NoWriter };

PipeState StateOf(HANDLE pipe) {
  DWORD waiting = 0;
  if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr)) return PipeState::NoWriter;
  return waiting > 0 ? PipeState::HasData : PipeState::Empty;
}

}  // namespace

Result<std::unique_ptr<ChildProcess>> ChildProcess::Start(const std::vector<std::string>& args,
                                                          const std::string& workingFolder) {
  if (args.empty()) return Status::Failed("start the program", {}, EINVAL);
  Pipe input, output;
  if (!input.Open() || !output.Open()) return windows::FailedWithLastError("make the pipes for", args[0]);
  windows::ProcessStart start;
  start.args = args;
  start.input = input.read.Get();
  start.output = output.write.Get();
  start.error = output.write.Get();
  start.workingFolder = workingFolder;
  start.ownGroup = true;
  const Result<windows::StartedProcess> started = windows::StartProcess(start);
  if (!started) return started.GetStatus();
  // The child's ends close here (Pipe destructors): once the child has
  // closed its own, reading finds no writer left.
  return std::unique_ptr<ChildProcess>(new ChildProcess(static_cast<pid_t>(started.Value().id), started.Value().process,
                                                        output.read.Release(), input.write.Release()));
}

ChildProcess::ChildProcess(pid_t pid, void* process, void* output, void* input)
    : pid_(pid), process_(process), output_(output), input_(input) {}

ChildProcess::~ChildProcess() {
  if (!reaped_) {
    ::TerminateProcess(process_, kKilledExitCode);
    WaitForExit();
  }
  CloseHandle(process_);
  CloseHandle(output_);
  CloseHandle(input_);
}

// Windows ends a process with an exit code only: there is no signal to name.
void ChildProcess::Reaped(int status) {
  reaped_ = true;
  exitCode_ = status;
}

bool ChildProcess::Running() {
  if (reaped_) return false;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) return true;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  Reaped(static_cast<int>(code));
  return false;
}

int ChildProcess::WaitForExit() {
  if (!reaped_) {
    WaitForSingleObject(process_, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    Reaped(static_cast<int>(code));
  }
  return exitCode_;
}

std::size_t ChildProcess::BytesWaiting() const {
  DWORD waiting = 0;
  if (!PeekNamedPipe(output_, nullptr, 0, nullptr, &waiting, nullptr)) return 0;
  return waiting;
}

std::size_t ChildProcess::Read(char* buffer, std::size_t size) {
  // Only what is there already: a read of more would block.
  const std::size_t waiting = std::min(BytesWaiting(), size);
  if (waiting == 0) return 0;
  DWORD count = 0;
  if (!ReadFile(output_, buffer, static_cast<DWORD>(waiting), &count, nullptr)) return 0;
  return count;
}

void ChildProcess::WaitForOutput(int timeoutMs) const {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0));
  for (;;) {
    const PipeState state = StateOf(output_);
    if (state == PipeState::HasData) return;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    // With no writer left, the rest of the timeout in one sleep.
    Sleep(state == PipeState::NoWriter ? static_cast<DWORD>(deadline - now)
                                       : std::min<DWORD>(kPollMs, static_cast<DWORD>(deadline - now)));
  }
}

void ChildProcess::WaitForOutputOrEnd(int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0));
  for (;;) {
    const PipeState state = StateOf(output_);
    if (state == PipeState::HasData) return;
    if (state == PipeState::NoWriter) {
      WaitForExit();
      return;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    Sleep(std::min<DWORD>(kPollMs, static_cast<DWORD>(deadline - now)));
  }
}

}  // namespace sonvarro::platform
