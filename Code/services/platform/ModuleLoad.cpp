// What loading a library means the same way on every system, on top of
// each system's LoadModule.

#include "services/platform/Modules.h"

namespace sonvarro::platform {

HMODULE LoadLibraryA(const std::string& path) { return LoadModule(path).ValueOr(nullptr); }

Module::Module(const std::string& path) {
  Result<HMODULE> loaded = LoadModule(path);
  if (loaded) {
    handle_ = loaded.Value();
  } else {
    failure_ = loaded.GetStatus();
  }
}

}  // namespace sonvarro::platform
