#pragma once

// Starting a program on Windows, shared by Spawn and ChildProcess: the
// command line the child's C runtime splits back into the same arguments,
// and the standard handles given to the child alone.

#include <windows.h>

#include <string>
#include <vector>

#include "services/platform/Result.h"

namespace sonvarro::platform::windows {

// args as one command line, each argument quoted and escaped as the
// Microsoft C runtime's parser expects, so that it arrives unchanged.
std::wstring CommandLineOf(const std::vector<std::string>& args);

struct ProcessStart {
  std::vector<std::string> args;  // args[0] names the program
  bool searchPath = false;        // let the system look args[0] up
  HANDLE input = nullptr;         // the child's standard input
  HANDLE output = nullptr;        // its standard output
  HANDLE error = nullptr;         // its standard error
  std::string workingFolder;      // empty: ours
  bool ownGroup = false;          // Ctrl+C in our console does not reach it
};

struct StartedProcess {
  HANDLE process;  // the caller closes it
  DWORD id;
};

// Starts the program without a console window. The child inherits the
// three handles given and nothing else of ours.
Result<StartedProcess> StartProcess(const ProcessStart& start);

}  // namespace sonvarro::platform::windows
