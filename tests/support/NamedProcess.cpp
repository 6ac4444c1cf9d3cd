#include "NamedProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "WaitUntil.h"

extern char** environ;

namespace sonvarro::test {

std::string UniqueExecutableName(const std::string& infix) {
  std::random_device random;
  char hex[16];
  std::snprintf(hex, sizeof hex, "%06x", static_cast<unsigned>(random()) & 0xffffffu);
  return "svt-" + std::string(hex) + infix + ".exe";
}

NamedProcess::NamedProcess(const std::string& exeName, Kind kind) {
  programPath_ = (folder_.Path() / exeName).string();
  switch (kind) {
    case Kind::Copy: std::filesystem::copy_file("/bin/sleep", programPath_); break;
    case Kind::SymbolicLink: std::filesystem::create_symlink("/bin/sleep", programPath_); break;
    case Kind::Script:
      // Short sleeps, so a killed script leaves its last one behind briefly.
      std::ofstream(programPath_) << "#!/bin/sh\nfor i in $(seq 60); do sleep 1; done\n";
      break;
  }
  if (kind != Kind::SymbolicLink) std::filesystem::permissions(programPath_, std::filesystem::perms::owner_all);
  std::string name = exeName;
  std::string seconds = "60";
  std::vector<char*> argv{name.data(), seconds.data(), nullptr};
  // posix_spawn returns once the child runs the new program, so the process
  // is listed under its name from here on.
  const int error = posix_spawn(&id_, programPath_.c_str(), nullptr, nullptr, argv.data(), environ);
  if (error != 0) throw std::system_error(error, std::generic_category(), "cannot start " + programPath_);
}

NamedProcess::~NamedProcess() {
  if (reaped_) return;
  kill(id_, SIGKILL);
  Reap();
}

void NamedProcess::WaitUntilZombie() const {
  siginfo_t info{};
  while (waitid(P_PID, static_cast<id_t>(id_), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
  }
}

int NamedProcess::Reap() {
  int status = 0;
  while (waitpid(id_, &status, 0) < 0 && errno == EINTR) {
  }
  reaped_ = true;
  return status;
}

AdoptedProcess::AdoptedProcess(const std::string& programPath) {
  int ids[2];
  if (pipe(ids) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
  const pid_t helper = fork();
  if (helper < 0) throw std::system_error(errno, std::generic_category(), "fork");
  if (helper == 0) {
    const std::string name = std::filesystem::path(programPath).filename().string();
    const pid_t program = fork();
    if (program == 0) {
      execl(programPath.c_str(), name.c_str(), "60", static_cast<char*>(nullptr));
      _exit(127);
    }
    (void)!write(ids[1], &program, sizeof program);
    _exit(0);
  }
  pid_t program = 0;
  const ssize_t got = read(ids[0], &program, sizeof program);
  close(ids[0]);
  close(ids[1]);
  while (waitpid(helper, nullptr, 0) < 0 && errno == EINTR) {
  }
  if (got != static_cast<ssize_t>(sizeof program) || program <= 0)
    throw std::runtime_error("cannot start " + programPath);
  id_ = program;
  // Once it has replaced the forked copy, it is listed under the program's name.
  WaitUntil(
      [&] {
        std::error_code error;
        return std::filesystem::read_symlink("/proc/" + std::to_string(id_) + "/exe", error) ==
               std::filesystem::canonical(programPath, error);
      },
      std::chrono::seconds(2));
}

AdoptedProcess::~AdoptedProcess() { kill(id_, SIGKILL); }

bool AdoptedProcess::Running() const {
  std::ifstream stat("/proc/" + std::to_string(id_) + "/stat");
  std::string line;
  std::getline(stat, line);
  const auto end = line.rfind(')');
  return end != std::string::npos && end + 2 < line.size() && line[end + 2] != 'Z' && line[end + 2] != 'X';
}

}  // namespace sonvarro::test
