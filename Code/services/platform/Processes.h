#pragma once

#include <functional>
#include <string_view>

#include "services/platform/Result.h"

namespace sonvarro {

// A process id as the operating system hands it out; 0 means "none".
using ProcessId = int;

namespace platform {

// One running process as a snapshot lists it (Windows: PROCESSENTRY32).
struct ProcessEntry {
  ProcessId id;
  // The program's file name, such as "evc.exe"; valid during the visit only.
  std::string_view exeFile;
  // The name the process was started under, cut to 15 bytes by the kernel:
  // for a symbolic link or a script this is the link's or the script's
  // name, not the program file's. Valid during the visit only.
  std::string_view commandName;
  // The process that started it (or adopted it when that one ended).
  ProcessId parentId;
};

// Walks every running process once, in the order the system lists them
// (ascending ids), and hands each to `visit`. Zombies are left out: they
// have ended and only wait to be reaped. Fails, visiting nothing, when the
// process list cannot be read.
Status ForEachProcess(const std::function<void(const ProcessEntry&)>& visit);

// The same walk over the processes this program started itself (its
// children), so that the programs of other users, other windows or scripts
// are neither found nor ended.
Status ForEachChildProcess(const std::function<void(const ProcessEntry&)>& visit);

// Ends the process at once (SIGKILL; Windows: TerminateProcess). Succeeds
// when the system accepted the request; fails (EINVAL) for ids of 0 and
// below, which would address process groups.
Status TerminateProcess(ProcessId id);

}  // namespace platform
}  // namespace sonvarro
