#pragma once

#include <functional>

#include "engine/CommandLineBuilder.h"

namespace sonvarro::test {

// The custom profile in use as a test scripts it: every application is
// counted and runs onApply.
struct FakeCustomProfile : ICustomProfileInUse {
  std::function<void()> onApply;
  int applied = 0;
  void ApplyMainWindowProfile() override {
    ++applied;
    if (onApply) onApply();
  }
};

}  // namespace sonvarro::test
