#include "SmallDisk.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sonvarro::test {
namespace {

// What the holder reports when a step fails: the step and its errno.
struct Failure {
  int step;
  int error;
};

const char* const kSteps[] = {"make a user namespace", "deny setgroups",      "map the user",
                              "map the group",         "keep mounts private", "mount the tmpfs"};

bool WriteText(const char* path, const char* text) {
  const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const ssize_t length = static_cast<ssize_t>(std::strlen(text));
  const bool written = ::write(fd, text, length) == length;
  ::close(fd);
  return written;
}

// The holder, between fork and _exit: system calls only, on text made before
// the fork, since the test process has other threads.
[[noreturn]] void Hold(const char* mountPoint, const char* options, const char* uidMap, const char* gidMap, int report,
                       int release) {
  int step = -1;  // the step that failed, an index of kSteps
  if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
    step = 0;
  } else if (!WriteText("/proc/self/setgroups", "deny")) {
    step = 1;
  } else if (!WriteText("/proc/self/uid_map", uidMap)) {
    step = 2;
  } else if (!WriteText("/proc/self/gid_map", gidMap)) {
    step = 3;
  } else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    step = 4;
  } else if (::mount("tmpfs", mountPoint, "tmpfs", MS_NOSUID | MS_NODEV, options) != 0) {
    step = 5;
  }
  const Failure failure{step, step < 0 ? 0 : errno};
  if (::write(report, &failure, sizeof failure) != sizeof failure) ::_exit(1);
  // Nothing of the test's stays open through the holder (a pipe whose
  // reader waits for its end, say) but the release pipe.
  if (release > 0) ::close_range(0, release - 1, 0);
  ::close_range(release + 1, ~0U, 0);
  // Holds the file system until the release pipe is closed.
  for (;;) {
    char ignored;
    const ssize_t count = ::read(release, &ignored, 1);
    if (count == 0 || (count < 0 && errno != EINTR)) ::_exit(0);
  }
}

}  // namespace

SmallDisk::SmallDisk(std::size_t bytes) {
  const std::string mountPoint = mountPoint_.Path().string();
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
  const std::string uidMap = "0 " + std::to_string(::getuid()) + " 1";
  const std::string gidMap = "0 " + std::to_string(::getgid()) + " 1";
  int report[2], release[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    why_ = std::string("cannot make a pipe: ") + std::strerror(errno);
    return;
  }
  if (::pipe2(release, O_CLOEXEC) != 0) {
    why_ = std::string("cannot make a pipe: ") + std::strerror(errno);
    ::close(report[0]);
    ::close(report[1]);
    return;
  }
  holder_ = ::fork();
  if (holder_ == 0) {
    ::close(report[0]);
    ::close(release[1]);
    Hold(mountPoint.c_str(), options.c_str(), uidMap.c_str(), gidMap.c_str(), report[1], release[0]);
  }
  ::close(report[1]);
  ::close(release[0]);
  release_ = release[1];
  if (holder_ < 0) {
    why_ = std::string("cannot start the holder: ") + std::strerror(errno);
    ::close(report[0]);
    return;
  }
  Failure failure{};
  const bool reported = ::read(report[0], &failure, sizeof failure) == sizeof failure;
  ::close(report[0]);
  if (!reported) {
    why_ = "the holder ended without a word";
  } else if (failure.step >= 0) {
    why_ = std::string("this system does not let the test mount a file system of its own (cannot ") +
           kSteps[failure.step] + ": " + std::strerror(failure.error) + ")";
  } else {
    folder_ = "/proc/" + std::to_string(holder_) + "/root" + mountPoint + "/";
    struct statfs info {};
    if (::statfs(folder_.c_str(), &info) != 0 || info.f_type != TMPFS_MAGIC)
      why_ = "the small file system is mounted but cannot be reached at " + folder_;
  }
}

SmallDisk::~SmallDisk() {
  if (release_ >= 0) ::close(release_);
  if (holder_ > 0) {
    int status = 0;
    while (::waitpid(holder_, &status, 0) < 0 && errno == EINTR) {
    }
  }
}

std::size_t SmallDisk::FreeBytes() const {
  struct statfs info {};
  if (!Made() || ::statfs(folder_.c_str(), &info) != 0) return 0;
  return static_cast<std::size_t>(info.f_bavail) * static_cast<std::size_t>(info.f_bsize);
}

}  // namespace sonvarro::test
