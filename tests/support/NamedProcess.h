#pragma once

#include <string>

#include "TempDir.h"

namespace sonvarro::test {

// "svt-" + six random hex digits + infix + ".exe": a program file name no
// other process has. Without infix it fits the 15 bytes the kernel keeps as
// a process's command name, so lookups that fall back to that name see it too.
std::string UniqueExecutableName(const std::string& infix = "");

// A sleeping program started (without a shell) under a file name of the
// test's choosing, so lookups by name find this process and no other: a copy
// of /bin/sleep, a symbolic link to it, or a shell script. It sleeps for a
// minute unless killed; the destructor kills and reaps it.
class NamedProcess {
 public:
  enum class Kind { Copy, SymbolicLink, Script };
  explicit NamedProcess(const std::string& exeName, Kind kind = Kind::Copy);
  ~NamedProcess();
  NamedProcess(const NamedProcess&) = delete;
  NamedProcess& operator=(const NamedProcess&) = delete;

  int Id() const { return id_; }
  // Full path of the program file.
  const std::string& ProgramPath() const { return programPath_; }

  // Waits until the process has ended and leaves it a zombie (not reaped).
  void WaitUntilZombie() const;
  // Waits until the process has ended, reaps it and returns its wait status.
  int Reap();

 private:
  TempDir folder_;
  std::string programPath_;
  int id_ = 0;
  bool reaped_ = false;
};

// The same program file started again, but by a helper process that ends at
// once, so the system adopts it: a program of that name that another program
// (a terminal, another window) started. Killed by the destructor.
class AdoptedProcess {
 public:
  explicit AdoptedProcess(const std::string& programPath);
  ~AdoptedProcess();
  AdoptedProcess(const AdoptedProcess&) = delete;
  AdoptedProcess& operator=(const AdoptedProcess&) = delete;

  int Id() const { return id_; }
  bool Running() const;

 private:
  int id_ = 0;
};

}  // namespace sonvarro::test
