#pragma once

// Loading our companion libraries and reading what they hold, under the
// Windows names the program's design uses. Libraries are shared objects
// (dlopen); their strings and resources are the table described in
// ModuleResources.h.

#include <cstddef>
#include <string>

#include "services/platform/Result.h"

namespace sonvarro::platform {

using HMODULE = void*;

// Loads the library at path; a bare name is a file in the working folder,
// never one on the system's library path. The failure carries the loader's
// reason.
Result<HMODULE> LoadModule(const std::string& path);

// The same, nullptr when it cannot be loaded.
HMODULE LoadLibraryA(const std::string& path);

// The address of an exported function or object; nullptr when there is none.
void* GetProcAddress(HMODULE module, const char* name);

// Unloads the library (once per LoadLibraryA). nullptr is ignored.
bool FreeLibrary(HMODULE module);

// Copies string id of the module's table into buffer, cut to bufferMax - 1
// bytes and ended with a NUL. The number of bytes copied, without the NUL;
// 0 when the module has no such string (buffer then holds the empty text).
int LoadStringA(HMODULE module, unsigned id, char* buffer, int bufferMax);

// A resource's bytes, valid while the module stays loaded.
struct ResourceData {
  const unsigned char* data = nullptr;
  size_t size = 0;
};

// The resource of that name and type (letters a-z compared without regard to
// case); false when the module has none.
bool FindResourceA(HMODULE module, const char* name, const char* type, ResourceData& found);

// A loaded library that is freed when the object goes, also after an error.
class Module {
 public:
  explicit Module(const std::string& path);
  ~Module() { FreeLibrary(handle_); }
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }
  HMODULE Handle() const { return handle_; }
  // Why the library could not be loaded.
  const Status& Failure() const { return failure_; }

 private:
  HMODULE handle_ = nullptr;
  Status failure_;
};

}  // namespace sonvarro::platform
