#pragma once

// What an encoder run wrote on its standard output, gathered from the
// runner's thread and read from the test's.

#include <mutex>
#include <string>

#include "engine/AdvanceSystem.h"

namespace sonvarro::test {

class CollectedOutput {
 public:
  std::string Text() {
    std::lock_guard<std::mutex> lock(lock_);
    return text_;
  }

  EncoderOutputCallback Collect() {
    return [this](const std::string& chunk) {
      std::lock_guard<std::mutex> lock(lock_);
      text_ += chunk;
    };
  }

 private:
  std::mutex lock_;
  std::string text_;
};

}  // namespace sonvarro::test
