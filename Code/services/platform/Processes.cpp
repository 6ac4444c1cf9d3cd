#include "services/platform/Processes.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "services/platform/Paths.h"

namespace sonvarro::platform {
namespace {

constexpr const char* kProcFolder = "/proc";

// "1234" -> 1234; anything else in /proc (self, sys, ...) -> 0.
ProcessId ParseId(const char* name) {
  if (*name == '\0') return 0;
  long value = 0;
  for (const char* p = name; *p; ++p) {
    if (*p < '0' || *p > '9') return 0;
    value = value * 10 + (*p - '0');
    if (value > INT_MAX) return 0;
  }
  return static_cast<ProcessId>(value);
}

// The decimal number at text, up to the next blank; 0 when there is none.
ProcessId ParseLeadingId(const char* text) {
  long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > INT_MAX) return 0;
  }
  return static_cast<ProcessId>(value);
}

// The kernel marks a program file that was deleted or replaced while running.
std::string_view WithoutDeletedMark(std::string_view path) {
  constexpr std::string_view kDeleted = " (deleted)";
  if (path.size() > kDeleted.size() && path.substr(path.size() - kDeleted.size()) == kDeleted)
    path.remove_suffix(kDeleted.size());
  return path;
}

// Reads "/proc/ID/stat" ("ID (comm) S PPID ...") into buffer. Yields the
// command name and the parent's id, or false when the process has gone or is
// a zombie ("Z") or dead ("X").
bool ReadLiveCommandName(int procFd, ProcessId id, char (&buffer)[512], std::string_view& name, ProcessId& parent) {
  char path[32];
  std::snprintf(path, sizeof path, "%d/stat", id);
  const int fd = openat(procFd, path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const ssize_t length = read(fd, buffer, sizeof buffer - 1);
  close(fd);
  if (length <= 0) return false;
  const std::string_view stat(buffer, static_cast<size_t>(length));
  // The name may itself hold ") ", so it ends at the last ")".
  const auto openParen = stat.find('(');
  const auto closeParen = stat.rfind(')');
  if (openParen == std::string_view::npos || closeParen == std::string_view::npos || closeParen < openParen ||
      closeParen + 2 >= stat.size())
    return false;
  const char state = stat[closeParen + 2];
  if (state == 'Z' || state == 'X') return false;
  name = stat.substr(openParen + 1, closeParen - openParen - 1);
  buffer[length] = '\0';
  parent = closeParen + 4 < stat.size() ? ParseLeadingId(buffer + closeParen + 4) : 0;
  return true;
}

}  // namespace

Status ForEachProcess(const std::function<void(const ProcessEntry&)>& visit) {
  DIR* proc = opendir(kProcFolder);
  if (!proc) {
    const int error = errno;
    return Status::Failed("list the processes in", kProcFolder, error);
  }
  const int procFd = dirfd(proc);
  // One buffer each for the whole walk: the lookup runs every 100 ms while
  // the encoder works, so a pass allocates nothing per process.
  char link[PATH_MAX];
  char stat[512];
  char path[32];
  while (const dirent* entry = readdir(proc)) {
    const ProcessId id = ParseId(entry->d_name);
    if (id == 0) continue;
    // The status line names the process as it was started (a symbolic link
    // or a script keeps the name it was called by) and tells zombies apart.
    std::string_view commandName;
    ProcessId parentId = 0;
    if (!ReadLiveCommandName(procFd, id, stat, commandName, parentId)) continue;
    std::snprintf(path, sizeof path, "%d/exe", id);
    const ssize_t length = readlinkat(procFd, path, link, sizeof link);
    std::string_view exeFile = commandName;
    if (length > 0 && static_cast<size_t>(length) < sizeof link) {
      exeFile = FileNamePart(WithoutDeletedMark(std::string_view(link, static_cast<size_t>(length))));
    }
    // Otherwise the link is closed to us (another user's process: reading
    // it needs the right to trace that process) or there is no program file
    // (a kernel thread); the command name then stands in for it.
    visit(ProcessEntry{id, exeFile, commandName, parentId});
  }
  closedir(proc);
  return {};
}

Status ForEachChildProcess(const std::function<void(const ProcessEntry&)>& visit) {
  const ProcessId self = getpid();
  return ForEachProcess([&](const ProcessEntry& entry) {
    if (entry.parentId == self) visit(entry);
  });
}

Status TerminateProcess(ProcessId id) {
  constexpr const char* kAttempt = "end the process";
  if (id <= 0) return Status::Failed(kAttempt, std::to_string(id), EINVAL);
  if (kill(id, SIGKILL) != 0) {
    const int error = errno;
    return Status::Failed(kAttempt, std::to_string(id), error);
  }
  return {};
}

}  // namespace sonvarro::platform
