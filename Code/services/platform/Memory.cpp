#include "services/platform/Memory.h"

#include <malloc.h>

namespace sonvarro::platform {
namespace {

// Free bytes after the last trim, or the lowest count seen since: memory
// reused and freed again counts anew.
size_t baselineFree = 0;

}  // namespace

bool TrimFreedHeap() {
  const size_t freeNow = mallinfo2().fordblks;
  if (freeNow < baselineFree) baselineFree = freeNow;
  if (freeNow - baselineFree < kTrimThresholdBytes) return false;
  malloc_trim(0);
  // Trimmed pages still count as free in the heap's lists; what is free now
  // is the new starting point.
  baselineFree = mallinfo2().fordblks;
  return true;
}

}  // namespace sonvarro::platform
