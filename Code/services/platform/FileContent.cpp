#include "services/platform/FileContent.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
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

// Creates a new file beside `target` under a name of its own; the umask
// applies to it as to any new file.
int CreateTemporaryBeside(const std::string& target, std::string& temporaryPath) {
  static std::atomic<unsigned> counter{0};
  const std::string folder = FolderPart(target);
  for (;;) {
    const std::string name = "." + std::string(FileNamePart(target)) + ".tmp" + std::to_string(::getpid()) + "." +
                             std::to_string(counter.fetch_add(1));
    temporaryPath = folder + name;
    const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
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

  std::string temporary;
  const int fd = CreateTemporaryBeside(target, temporary);
  if (fd < 0) return Status::FailedWithErrno(kWriteAttempt, path);
  int error = WriteAll(fd, content);
  if (!error && ::fsync(fd) != 0) error = errno;
  if (!error && replacesFile) ::fchmod(fd, existing.st_mode & 07777);
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (!error) return {};
  ::unlink(temporary.c_str());
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
