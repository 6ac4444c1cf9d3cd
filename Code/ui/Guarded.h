#pragma once

#include <functional>
#include <utility>

#include "services/LastResort.h"

namespace sonvarro {

// A slot that lets no error escape into Qt: whatever it throws goes to the
// last-resort handler. Slots that take the signal's arguments call
// RunGuarded themselves.
inline std::function<void()> Guarded(std::function<void()> slot) {
  return [slot = std::move(slot)] { RunGuarded(slot); };
}

}  // namespace sonvarro
