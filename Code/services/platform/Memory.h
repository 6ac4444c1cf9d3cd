#pragma once

// Handing freed heap memory back to the system (Windows: emptying the
// working set).

#include <cstddef>

namespace sonvarro::platform {

// Gives the heap's free pages back to the system when at least
// kTrimThresholdBytes more lie free than after the last time. Otherwise it
// only counts the free bytes (no system call), so calling it every second is
// cheap while nothing is freed. True when it trimmed.
bool TrimFreedHeap();

inline constexpr size_t kTrimThresholdBytes = 1 << 20;

}  // namespace sonvarro::platform
