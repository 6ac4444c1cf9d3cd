#pragma once

#include <exception>
#include <functional>

#include "services/platform/Desktop.h"

namespace sonvarro {

// The last resort for an error that nothing on its way handled. Every window
// handler and every scheduled step runs under it: the error's message is
// shown in a message box captioned with the application title, and control
// goes back to the event loop, so one failed command never ends the program.
void RunGuarded(const std::function<void()>& work) noexcept;

// Shows error as RunGuarded does, for callers that caught it themselves.
void ReportUnhandledError(const std::exception& error) noexcept;

// Where the last resort shows its messages (not owned); nullptr: the
// machine's own desktop. The handler is reached from every window and every
// scheduled step, none of which has a desktop of its own to give it, so
// this one reporter is process-wide. Returns the one installed before.
platform::IDesktop* InstallLastResortDesktop(platform::IDesktop* desktop) noexcept;

}  // namespace sonvarro
