#include "services/platform/HomeFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "services/platform/Paths.h"

namespace sonvarro::platform {
namespace {

std::string AccountHome() {
  const long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir) {
    return found->pw_dir;
  }
  return {};
}

}  // namespace

std::string ChooseHomeFolder(const std::string& homeVariable, const std::string& accountHome) {
  if (!homeVariable.empty() && homeVariable.front() == kPathSeparator) return homeVariable;
  return accountHome;
}

std::string HomeFolder() { return ChooseHomeFolder(EnvironmentValue("HOME"), AccountHome()); }

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace sonvarro::platform
