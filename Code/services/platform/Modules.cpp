#include "services/platform/Modules.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

#include "services/platform/ModuleResources.h"

namespace sonvarro::platform {
namespace {

const SonvarroModuleResources* TableOf(HMODULE module) {
  if (!module) return nullptr;
  return static_cast<const SonvarroModuleResources*>(dlsym(module, SONVARRO_MODULE_RESOURCES_SYMBOL));
}

bool SameName(const char* a, const char* b) {
  if (!a || !b) return false;
  for (; *a && *b; ++a, ++b) {
    const char x = (*a >= 'a' && *a <= 'z') ? static_cast<char>(*a - 'a' + 'A') : *a;
    const char y = (*b >= 'a' && *b <= 'z') ? static_cast<char>(*b - 'a' + 'A') : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

}  // namespace

Result<HMODULE> LoadModule(const std::string& path) {
  // A bare name would be looked up on the system's library path, which is
  // not where our companions lie: it names a file like any other path.
  const std::string wanted = path.find('/') == std::string::npos ? "./" + path : path;
  dlerror();
  HMODULE module = dlopen(wanted.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module) return module;
  const char* reason = dlerror();
  return Status::FailedWithText("load the library", path, reason ? reason : "unknown error");
}

void* GetProcAddress(HMODULE module, const char* name) { return module ? dlsym(module, name) : nullptr; }

bool FreeLibrary(HMODULE module) { return module && dlclose(module) == 0; }

int LoadStringA(HMODULE module, unsigned id, char* buffer, int bufferMax) {
  if (!buffer || bufferMax <= 0) return 0;
  buffer[0] = '\0';
  const SonvarroModuleResources* table = TableOf(module);
  if (!table || !table->strings) return 0;
  for (size_t i = 0; i < table->stringCount; ++i) {
    const SonvarroModuleString& entry = table->strings[i];
    if (entry.id != id || !entry.text) continue;
    const size_t length = std::min(std::strlen(entry.text), static_cast<size_t>(bufferMax - 1));
    std::memcpy(buffer, entry.text, length);
    buffer[length] = '\0';
    return static_cast<int>(length);
  }
  return 0;
}

bool FindResourceA(HMODULE module, const char* name, const char* type, ResourceData& found) {
  const SonvarroModuleResources* table = TableOf(module);
  if (!table || !table->resources) return false;
  for (size_t i = 0; i < table->resourceCount; ++i) {
    const SonvarroModuleResource& entry = table->resources[i];
    if (SameName(entry.name, name) && SameName(entry.type, type) && entry.data) {
      found = {entry.data, entry.size};
      return true;
    }
  }
  return false;
}

}  // namespace sonvarro::platform
