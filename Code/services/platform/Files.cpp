#include "services/platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace sonvarro::platform {

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

Status RemoveRegularFile(const std::string& path) {
  constexpr const char* kAttempt = "remove the file";
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return Status::FailedWithErrno(kAttempt, path);
  if (S_ISDIR(info.st_mode)) return Status::Failed(kAttempt, path, EISDIR);
  if (!S_ISREG(info.st_mode)) return Status::Failed(kAttempt, path, EINVAL);
  if (unlink(path.c_str()) != 0) return Status::FailedWithErrno(kAttempt, path);
  return {};
}

Result<int64_t> FileSize(const std::string& path) {
  constexpr const char* kAttempt = "read the file";
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Status::FailedWithErrno(kAttempt, path);
  struct stat info {};
  const int result = fstat(fd, &info);
  const int error = errno;
  close(fd);
  if (result != 0) return Status::Failed(kAttempt, path, error);
  if (S_ISDIR(info.st_mode)) return Status::Failed(kAttempt, path, EISDIR);
  return static_cast<int64_t>(info.st_size);
}

Status CreateNewFile(const std::string& path) {
  int fd = -1;
  do {
    fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return Status::FailedWithErrno("create the file", path);
  close(fd);
  return {};
}

}  // namespace sonvarro::platform
