#include "services/platform/FileContent.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "services/platform/Paths.h"

namespace sonvarro::platform {
namespace {

constexpr const char* kReadAttempt = "read the file";
constexpr const char* kWriteAttempt = "write the file";

// 0 or the errno of the failure.
int WriteAll(int fd, const std::string& content) {
  size_t written = 0;
  while (written < content.size()) {
    const ssize_t count = ::write(fd, content.data() + written, content.size() - written);
    if (count < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    written += static_cast<size_t>(count);
  }
  return 0;
}

// The temporary file of a target, beside it. One name per target: a save
// cut short leaves at most this one behind, and the next save takes it over.
std::string TemporaryFor(const std::string& target) {
  return FolderPart(target) + "." + std::string(FileNamePart(target)) + ".tmp";
}

// Opens the target's temporary file, empty, for this save alone: the lock
// holds off a save of the same file running in another instance of the
// program until this one has renamed it into place. A temporary that a save
// cut short left behind is locked by nobody (the kernel drops the lock of a
// killed process), so it is simply reused. A file system without locks
// still saves, only without that guard. -1 with errno on failure.
int OpenTemporary(const std::string& temporary) {
  for (;;) {
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    // The save we waited for may have renamed the file we opened into
    // place: that file is the target now, and a new temporary is needed.
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) == 0 && ::lstat(temporary.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
        opened.st_ino == named.st_ino) {
      if (::ftruncate(fd, 0) == 0) return fd;
      const int error = errno;
      ::close(fd);
      errno = error;
      return -1;
    }
    ::close(fd);
  }
}

// The file a link at path points to; path itself for anything else.
std::string LinkTarget(const std::string& path) {
  struct stat linkInfo {};
  if (::lstat(path.c_str(), &linkInfo) != 0 || !S_ISLNK(linkInfo.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (!resolved) return path;
  std::string target = resolved;
  std::free(resolved);
  return target;
}

}  // namespace

Result<std::string> ReadWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Status::FailedWithErrno(kReadAttempt, path);
  std::string content;
  char buffer[8192];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      return Status::Failed(kReadAttempt, path, error);
    }
    content.append(buffer, static_cast<size_t>(count));
  }
  ::close(fd);
  return content;
}

Status ReplaceFileContent(const std::string& path, const std::string& content) {
  const std::string target = LinkTarget(path);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  const bool replacesFile = exists && !S_ISDIR(existing.st_mode);
  if (replacesFile && ::access(target.c_str(), W_OK) != 0) return Status::FailedWithErrno(kWriteAttempt, path);

  const std::string temporary = TemporaryFor(target);
  const int fd = OpenTemporary(temporary);
  if (fd < 0) return Status::FailedWithErrno(kWriteAttempt, path);
  int error = WriteAll(fd, content);
  if (!error && ::fsync(fd) != 0) error = errno;
  if (!error && replacesFile) ::fchmod(fd, existing.st_mode & 07777);
  // Renamed or removed while still locked, so that a save waiting for the
  // lock finds the name free or a new file at it.
  if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error) ::unlink(temporary.c_str());
  ::close(fd);
  if (!error) return {};
  return Status::Failed(kWriteAttempt, path, error);
}

Status AppendToFile(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Status::FailedWithErrno(kWriteAttempt, path);
  if (const int error = WriteAll(fd, text)) {
    ::close(fd);
    return Status::Failed(kWriteAttempt, path, error);
  }
  if (::close(fd) != 0) return Status::FailedWithErrno(kWriteAttempt, path);
  return {};
}

}  // namespace sonvarro::platform
