#pragma once

// Window tests that wait for real work (an encoder, a player) run the event
// loop until what they wait for holds.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace sonvarro::test {

// Generous: the machine may be loaded.
inline constexpr int kSpinTimeoutMs = 180000;

// Runs the event loop until done() holds (true) or timeoutMs have passed
// (false); onTurn sees every turn of the loop.
inline bool SpinUntil(const std::function<bool()>& done, int timeoutMs = kSpinTimeoutMs,
                      const std::function<void()>& onTurn = {}) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (onTurn) onTurn();
  }
  return true;
}

}  // namespace sonvarro::test
