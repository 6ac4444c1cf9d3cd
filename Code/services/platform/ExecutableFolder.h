#pragma once

#include <string>

namespace sonvarro::platform {

// Folder of the running program (Windows: the module's own file name),
// ending in "/". Falls back to "./" when the kernel will not say.
std::string ExecutableFolder();

}  // namespace sonvarro::platform
