#pragma once

#include <string>

namespace sonvarro::platform {

// Full path of the running program (Windows: the module's own file name);
// empty when the kernel will not say. It does not depend on the working
// folder the program was started from.
std::string ExecutablePath();

// Folder of the running program, ending in "/". Falls back to "./" when the
// kernel will not say.
std::string ExecutableFolder();

}  // namespace sonvarro::platform
