#pragma once

#include <exception>
#include <functional>

namespace sonvarro {

// The last resort for an error that nothing on its way handled. Every window
// handler and every scheduled step runs under it: the error's message is
// shown in a message box captioned with the application title, and control
// goes back to the event loop, so one failed command never ends the program.
void RunGuarded(const std::function<void()>& work) noexcept;

// Shows error as RunGuarded does, for callers that caught it themselves.
void ReportUnhandledError(const std::exception& error) noexcept;

}  // namespace sonvarro
