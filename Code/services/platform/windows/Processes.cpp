#include "services/platform/Processes.h"

// The other system headers build on windows.h, which comes first.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {
namespace {

using windows::OwnedHandle;

// The exit code of a process ended by us.
constexpr UINT kKilledExitCode = 1;

struct ListedProcess {
  ProcessId id;
  ProcessId parentId;
  std::string exeFile;
};

// When the process was created, as a number that grows with time; 0 when
// it cannot be told.
ULONGLONG CreationTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// Windows keeps a process's parent id after the parent has ended, and may
// hand that id to a new process: a process only counts as our child when it
// was started after us.
bool StartedAfter(ProcessId id, ULONGLONG ourStart) {
  OwnedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id)));
  if (!process.Valid()) return false;
  const ULONGLONG started = CreationTime(process.Get());
  return started != 0 && started >= ourStart;
}

}  // namespace

Status ForEachProcess(const std::function<void(const ProcessEntry&)>& visit) {
  OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.Valid()) return windows::FailedWithLastError("list the processes in", "the system");
  std::vector<ListedProcess> listed;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
    // The idle process is no program.
    if (entry.th32ProcessID == 0) continue;
    listed.push_back(ListedProcess{static_cast<ProcessId>(entry.th32ProcessID),
                                   static_cast<ProcessId>(entry.th32ParentProcessID), windows::Utf8(entry.szExeFile)});
  }
  std::sort(listed.begin(), listed.end(), [](const ListedProcess& a, const ListedProcess& b) { return a.id < b.id; });
  // Windows keeps no separate name a process was started under: its
  // program's file name stands for both.
  for (const ListedProcess& process : listed)
    visit(ProcessEntry{process.id, process.exeFile, process.exeFile, process.parentId});
  return {};
}

Status ForEachChildProcess(const std::function<void(const ProcessEntry&)>& visit) {
  const ProcessId self = static_cast<ProcessId>(GetCurrentProcessId());
  const ULONGLONG ourStart = CreationTime(GetCurrentProcess());
  return ForEachProcess([&](const ProcessEntry& entry) {
    if (entry.parentId == self && StartedAfter(entry.id, ourStart)) visit(entry);
  });
}

Status TerminateProcess(ProcessId id) {
  constexpr const char* kAttempt = "end the process";
  if (id <= 0) return Status::Failed(kAttempt, std::to_string(id), EINVAL);
  OwnedHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(id)));
  if (!process.Valid()) {
    const DWORD error = GetLastError();
    // No such process: the same answer as on other systems.
    return Status::Failed(kAttempt, std::to_string(id),
                          error == ERROR_INVALID_PARAMETER ? ESRCH : windows::ErrnoOf(error));
  }
  if (!::TerminateProcess(process.Get(), kKilledExitCode))
    return windows::FailedWithLastError(kAttempt, std::to_string(id));
  return {};
}

}  // namespace sonvarro::platform
