#include "settings/DefaultFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "services/platform/Paths.h"

namespace sonvarro {
namespace {

constexpr const char* kOutputFolderName = "Sonvarro";

std::string AccountHome() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir) {
    return found->pw_dir;
  }
  const char* home = std::getenv("HOME");
  return home ? home : "";
}

}  // namespace

std::string HomeFolder() { return platform::WithTrailingSeparator(AccountHome()); }

std::string DefaultOutputFolder() { return HomeFolder() + kOutputFolderName; }

std::string DefaultInitDir() { return HomeFolder(); }

}  // namespace sonvarro
