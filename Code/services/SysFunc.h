#pragma once

#include <string_view>

#include "services/platform/Processes.h"

namespace sonvarro {

// System services: finding a running program by its file name.
class TSysFunc {
 public:
  // Id of a running process named `exeName` (such as "evc.exe", see IsNamed)
  // among the ones this program started,
  // compared as SameExecutableName does; with several, the last
  // one the system lists wins. 0 when none runs (zombies do not count).
  // Writes no log line. Cheap enough to poll every 100 ms.
  static ProcessId FindProcessId(std::string_view exeName);

  // Whether the process runs the program file exeName or was started under
  // that name (a symbolic link or a script of that name serves as well).
  static bool IsNamed(const platform::ProcessEntry& entry, std::string_view exeName);

  // Equal once the letters a-z are upper-cased; every other byte, non-ASCII
  // letters included, must be the same.
  static bool SameExecutableName(std::string_view a, std::string_view b);
};

}  // namespace sonvarro
