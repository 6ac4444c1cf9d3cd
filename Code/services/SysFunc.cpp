#include "services/SysFunc.h"

namespace sonvarro {
namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool TSysFunc::SameExecutableName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

bool TSysFunc::IsNamed(const platform::ProcessEntry& entry, std::string_view exeName) {
  return SameExecutableName(entry.exeFile, exeName) || SameExecutableName(entry.commandName, exeName);
}

ProcessId TSysFunc::FindProcessId(std::string_view exeName) {
  ProcessId found = 0;
  platform::ForEachProcess([&](const platform::ProcessEntry& entry) {
    if (IsNamed(entry, exeName)) found = entry.id;
  });
  return found;
}

}  // namespace sonvarro
