#include "services/SysFunc.h"

#include "services/TextFormats.h"

namespace sonvarro {

bool TSysFunc::SameExecutableName(std::string_view a, std::string_view b) { return SameIgnoringAsciiCase(a, b); }

bool TSysFunc::IsNamed(const platform::ProcessEntry& entry, std::string_view exeName) {
  return SameExecutableName(entry.exeFile, exeName) || SameExecutableName(entry.commandName, exeName);
}

ProcessId TSysFunc::FindProcessId(std::string_view exeName) {
  ProcessId found = 0;
  platform::ForEachChildProcess([&](const platform::ProcessEntry& entry) {
    if (IsNamed(entry, exeName)) found = entry.id;
  });
  return found;
}

}  // namespace sonvarro
