#include "services/platform/Memory.h"

// The other system headers build on windows.h, which comes first.
// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on

namespace sonvarro::platform {
namespace {

// The working set after the last trim, or the lowest seen since.
size_t baselineWorkingSet = 0;

size_t WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.WorkingSetSize;
}

}  // namespace

// Windows keeps pages a program has freed in its working set until it is
// asked to let them go; emptying the working set hands back what nobody
// uses. The working set's growth since the last trim stands for the freed
// bytes that the heap does not report.
bool TrimFreedHeap() {
  const size_t now = WorkingSet();
  if (now < baselineWorkingSet) baselineWorkingSet = now;
  if (now - baselineWorkingSet < kTrimThresholdBytes) return false;
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
  baselineWorkingSet = WorkingSet();
  return true;
}

}  // namespace sonvarro::platform
