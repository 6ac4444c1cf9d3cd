#include "services/platform/Folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace sonvarro::platform {

namespace fs = std::filesystem;

bool IsFolder(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Result<bool> NameInUse(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0) return true;
  if (errno == ENOENT || errno == ENOTDIR) return false;
  return Status::FailedWithErrno("look for", path);
}

Status CreateFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0777) != 0) return Status::FailedWithErrno("create the folder", path);
  return {};
}

Status CreateFolders(const std::string& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return Status::Failed("create the folder", folder, error.value());
  return {};
}

Status RemoveEmptyFolder(const std::string& path) {
  if (rmdir(path.c_str()) != 0) return Status::FailedWithErrno("remove the folder", path);
  return {};
}

Result<std::string> AbsolutePath(const std::string& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  if (error) return Status::Failed("find the working folder for", path, error.value());
  return absolute.string();
}

Status ForEachFileIn(const std::string& folder, const std::function<void(const std::string& name)>& visit) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    visit(it->path().filename().string());
  }
  if (error) return Status::Failed("list the folder", folder, error.value());
  return {};
}

}  // namespace sonvarro::platform
