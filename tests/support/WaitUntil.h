#pragma once

// The one way a test waits for real work (an encoder, a player, a thread)
// and, when it must, lets time pass on purpose. Each turn runs the event
// pump, which the window tests' main sets to the Qt event loop, so what the
// work posts to the loop is handled while the test waits.

#include <chrono>
#include <functional>

namespace sonvarro::test {

// Generous: the machine may be loaded, and only a failing test waits this long.
inline constexpr std::chrono::milliseconds kWaitTimeout{180000};

// Turns until `condition` holds (true) or `timeout` has passed (false);
// `eachTurn` runs after the event pump on every turn.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = kWaitTimeout,
               const std::function<void()>& eachTurn = {});

// Turns for `duration` whatever happens, for a test that must see that
// nothing happens meanwhile. Keep it short and say at the call why it waits.
void LetTimePass(std::chrono::milliseconds duration, const std::function<void()>& eachTurn = {});

// What a turn runs besides `eachTurn`: nothing until a test program sets it.
void SetEventPump(std::function<void()> pump);

}  // namespace sonvarro::test
