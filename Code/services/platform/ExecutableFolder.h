#pragma once

#include <string>

#include "services/platform/Result.h"

namespace sonvarro::platform {

// Full path of the running program (Windows: the module's own file name).
// It does not depend on the working folder the program was started from.
// Fails when the kernel will not say.
Result<std::string> ExecutablePath();

// Folder of the running program, ending in "/". Falls back to "./" when the
// kernel will not say.
std::string ExecutableFolder();

}  // namespace sonvarro::platform
