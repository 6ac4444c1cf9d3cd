#include "WaitUntil.h"

#include <thread>
#include <utility>

namespace sonvarro::test {
namespace {

// Short enough that a test sees a change at once, long enough that waiting
// leaves the machine to the work waited for.
constexpr std::chrono::milliseconds kTurnPause{2};

std::function<void()>& EventPump() {
  static std::function<void()> pump;
  return pump;
}

void Turn(const std::function<void()>& eachTurn) {
  if (EventPump()) EventPump()();
  if (eachTurn) eachTurn();
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               const std::function<void()>& eachTurn) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Turn(eachTurn);
    std::this_thread::sleep_for(kTurnPause);
  }
}

void LetTimePass(std::chrono::milliseconds duration, const std::function<void()>& eachTurn) {
  const auto end = std::chrono::steady_clock::now() + duration;
  do {
    Turn(eachTurn);
    std::this_thread::sleep_for(kTurnPause);
  } while (std::chrono::steady_clock::now() < end);
}

void SetEventPump(std::function<void()> pump) { EventPump() = std::move(pump); }

}  // namespace sonvarro::test
