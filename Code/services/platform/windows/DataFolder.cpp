#include "services/platform/DataFolder.h"

#include "services/platform/DataFolderSteps.h"

// The other system headers build on windows.h, which comes first.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "services/platform/Folders.h"
#include "services/platform/Paths.h"
#include "services/platform/windows/SystemText.h"

namespace sonvarro::platform {
namespace data_folder_steps {

namespace fs = std::filesystem;
using windows::OwnedHandle;
using windows::Utf16;
using windows::Utf8;

// Asks the file system itself: a file created and gone again at once meets
// access rights, read-only media and virtualised folders alike, where the
// folder's attributes say nothing.
bool MayWriteFolder(const std::string& folder) {
  if (!IsFolder(folder)) return false;
  const std::string probe = JoinPath(
      folder, ".write-check-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64()));
  OwnedHandle file(CreateFileW(Utf16(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return file.Valid();
}

// The base of the per-user folder; empty when the user has none.
std::string UserDataHome(const UserDataPlaces& places) {
  return windows::IsAbsolutePath(places.appData) ? places.appData : std::string();
}

Status MakeUserFolders(const std::string& folder) {
  std::error_code error;
  fs::create_directories(fs::path(Utf16(folder)), error);
  if (error) return Status::Failed("create the folder", folder, error.value());
  return {};
}

// Copies the regular files of from (when it is a folder) into the folder to,
// none of them read-only whatever the installed file's attributes.
Status CopyRegularFiles(const std::string& from, const std::string& to) {
  if (!IsFolder(from)) return {};
  std::error_code error;
  for (fs::directory_iterator it(fs::path(Utf16(from)), error); !error && it != fs::directory_iterator();
       it.increment(error)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const fs::path copy = fs::path(Utf16(to)) / it->path().filename();
    if (fs::copy_file(it->path(), copy, error); error)
      return Status::Failed("copy", Utf8(it->path().wstring()), error.value());
    fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add, error);
    if (error) return Status::Failed("give the owner the right to write", Utf8(copy.wstring()), error.value());
  }
  if (error) return Status::Failed("list the folder", from, error.value());
  return {};
}

// Copies the files of defaults into a new folder config, made aside and
// moved in at once, so a start that stops half-way never leaves a Config/
// that looks complete.
Status CopyDefaults(const std::string& defaults, const std::string& config) {
  const std::string staging = config + ".part-" + std::to_string(GetCurrentProcessId());
  std::error_code ignored;
  fs::remove_all(fs::path(Utf16(staging)), ignored);
  if (Status made = MakeUserFolders(staging); !made) return made;
  const Status copied = CopyRegularFiles(defaults, staging);
  if (!copied) {
    fs::remove_all(fs::path(Utf16(staging)), ignored);
    return copied;
  }
  if (!MoveFileExW(Utf16(staging).c_str(), Utf16(config).c_str(), 0)) {
    const Status moved = windows::FailedWithLastError("create the folder", config);
    fs::remove_all(fs::path(Utf16(staging)), ignored);
    // Another start of the program got there first: its copy is as good.
    if (!IsFolder(config)) return moved;
  }
  return {};
}

std::string RoamingAppData() {
  PWSTR folder = nullptr;
  std::string path;
  if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder) == S_OK) path = Utf8(folder);
  CoTaskMemFree(folder);
  return path;
}

}  // namespace data_folder_steps

UserDataPlaces ProcessUserDataPlaces() { return UserDataPlaces{data_folder_steps::RoamingAppData()}; }

}  // namespace sonvarro::platform
