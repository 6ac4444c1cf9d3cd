#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "services/platform/Result.h"

namespace sonvarro::platform {

// How to start a child program. It is always started from an argument
// vector, never through a shell, so any file name reaches it as one
// argument. It starts clean: signals unblocked and at their defaults, and no
// descriptor of ours but the standard ones given here.
struct SpawnRequest {
  std::vector<std::string> args;  // args[0] names the program
  bool searchPath = false;        // look args[0] up on PATH instead of taking it as a path
  int input = -1;                 // becomes standard input; -1: /dev/null
  int output = -1;                // becomes standard output and error; -1: ours
  std::string workingFolder;      // empty: ours
  bool ownSession = false;        // detached from any terminal
};

// Starts the program and gives the child's id; on failure nothing was
// started.
Result<pid_t> Spawn(const SpawnRequest& request);

}  // namespace sonvarro::platform
