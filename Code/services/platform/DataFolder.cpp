#include "services/platform/DataFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "services/platform/DataFolderSteps.h"
#include "services/platform/Folders.h"
#include "services/platform/HomeFolder.h"
#include "services/platform/Paths.h"

namespace sonvarro::platform {
namespace data_folder_steps {

namespace fs = std::filesystem;

constexpr const char* kUserDataBelowHome = ".local/share";
// Folders the program creates for one user's data are that user's alone.
constexpr mode_t kPrivateFolderMode = 0700;

// Asks the file system itself where it can: an unnamed file leaves no trace
// and meets read-only mounts as well as modes. Where unnamed files are not
// supported, the modes decide.
bool MayWriteFolder(const std::string& folder) {
  if (!IsFolder(folder)) return false;
  const int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd >= 0) {
    close(fd);
    return true;
  }
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
  return faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Creates folder with the missing folders above it, each private to the user.
Status MakeUserFolders(const std::string& folder) {
  std::string path;
  for (size_t at = 0; at != std::string::npos;) {
    const size_t next = folder.find(kPathSeparator, at + 1);
    path = folder.substr(0, next);
    at = next;
    if (path.empty() || IsFolder(path)) continue;
    if (mkdir(path.c_str(), kPrivateFolderMode) != 0) {
      const int error = errno;
      if (!(error == EEXIST && IsFolder(path))) return Status::Failed("create the folder", path, error);
    }
  }
  return {};
}

// The base of the per-user folder; empty when the user has no home to put it in.
std::string UserDataHome(const UserDataPlaces& places) {
  if (!places.xdgDataHome.empty() && places.xdgDataHome.front() == kPathSeparator) return places.xdgDataHome;
  if (places.home.empty()) return {};
  return JoinPath(places.home, kUserDataBelowHome);
}

// Copies the regular files of from (when it is a folder) into the folder to,
// each writable by its owner.
Status CopyRegularFiles(const std::string& from, const std::string& to) {
  if (!IsFolder(from)) return {};
  std::error_code error;
  for (fs::directory_iterator it(from, error); !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const fs::path copy = fs::path(to) / it->path().filename();
    if (fs::copy_file(it->path(), copy, error); error)
      return Status::Failed("copy", it->path().string(), error.value());
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
    if (error) return Status::Failed("give the owner the right to write", copy.string(), error.value());
  }
  if (error) return Status::Failed("list the folder", from, error.value());
  return {};
}

// Copies the regular files of defaults (when it exists) into a new folder
// config, each writable by its owner whatever the installed file's mode.
// The copies are made aside and moved in at once, so a start that stops
// half-way never leaves a Config/ that looks complete.
Status CopyDefaults(const std::string& defaults, const std::string& config) {
  const std::string staging = config + ".part-" + std::to_string(getpid());
  std::error_code ignored;
  fs::remove_all(staging, ignored);
  if (Status made = MakeUserFolders(staging); !made) return made;
  const Status copied = CopyRegularFiles(defaults, staging);
  if (!copied) {
    fs::remove_all(staging, ignored);
    return copied;
  }
  if (rename(staging.c_str(), config.c_str()) != 0) {
    const int error = errno;
    fs::remove_all(staging, ignored);
    // Another start of the program got there first: its copy is as good.
    if (!IsFolder(config)) return Status::Failed("create the folder", config, error);
  }
  return {};
}

}  // namespace data_folder_steps

UserDataPlaces ProcessUserDataPlaces() { return UserDataPlaces{EnvironmentValue("XDG_DATA_HOME"), HomeFolder()}; }

}  // namespace sonvarro::platform
