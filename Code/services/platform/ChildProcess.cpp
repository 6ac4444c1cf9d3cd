#include "services/platform/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "services/platform/Spawn.h"

namespace sonvarro::platform {
namespace {

// Both ends of a pipe, closed on every path unless released.
struct Pipe {
  int read = -1;
  int write = -1;
  ~Pipe() {
    if (read >= 0) close(read);
    if (write >= 0) close(write);
  }
  bool Open() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    read = ends[0];
    write = ends[1];
    return true;
  }
  int ReleaseRead() {
    int fd = read;
    read = -1;
    return fd;
  }
  int ReleaseWrite() {
    int fd = write;
    write = -1;
    return fd;
  }
};

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

Result<std::unique_ptr<ChildProcess>> ChildProcess::Start(const std::vector<std::string>& args,
                                                          const std::string& workingFolder) {
  if (args.empty()) return Status::Failed("start the program", {}, EINVAL);
  Pipe input, output;
  if (!input.Open() || !output.Open()) return Status::FailedWithErrno("make the pipes for", args[0]);
  // Only our end of the output pipe polls; the child writes as usual.
  fcntl(output.read, F_SETFL, fcntl(output.read, F_GETFL) | O_NONBLOCK);

  SpawnRequest request;
  request.args = args;
  request.input = input.read;
  request.output = output.write;
  request.workingFolder = workingFolder;
  request.ownSession = true;
  const Result<pid_t> started = Spawn(request);
  if (!started) return started.GetStatus();
  // The child's ends close here (Pipe destructors); ours move into the object.
  return std::unique_ptr<ChildProcess>(new ChildProcess(started.Value(), output.ReleaseRead(), input.ReleaseWrite()));
}

ChildProcess::ChildProcess(pid_t pid, int outputFd, int inputFd) : pid_(pid), outputFd_(outputFd), inputFd_(inputFd) {}

ChildProcess::~ChildProcess() {
  if (!reaped_) {
    kill(pid_, SIGKILL);
    WaitForExit();
  }
  close(outputFd_);
  close(inputFd_);
}

void ChildProcess::Reaped(int status) {
  reaped_ = true;
  exitCode_ = ExitCodeOf(status);
  if (WIFSIGNALED(status)) {
    // Unlike strsignal, safe on the runner threads that reap encoders.
    const char* description = ::sigdescr_np(WTERMSIG(status));
    endingSignal_ = description ? description : "signal " + std::to_string(WTERMSIG(status));
  }
}

bool ChildProcess::Running() {
  if (reaped_) return false;
  for (;;) {
    int status = 0;
    pid_t result = waitpid(pid_, &status, WNOHANG);
    if (result == 0) return true;
    if (result == pid_) {
      Reaped(status);
      return false;
    }
    if (errno == EINTR) continue;
    // ECHILD: reaped elsewhere (SIGCHLD ignored); it is gone all the same.
    reaped_ = true;
    return false;
  }
}

int ChildProcess::WaitForExit() {
  while (!reaped_) {
    int status = 0;
    pid_t result = waitpid(pid_, &status, 0);
    if (result == pid_) {
      Reaped(status);
    } else if (result < 0 && errno != EINTR) {
      reaped_ = true;
    }
  }
  return exitCode_;
}

std::size_t ChildProcess::BytesWaiting() const {
  int waiting = 0;
  if (ioctl(outputFd_, FIONREAD, &waiting) != 0 || waiting < 0) return 0;
  return static_cast<std::size_t>(waiting);
}

std::size_t ChildProcess::Read(char* buffer, std::size_t size) {
  for (;;) {
    ssize_t count = read(outputFd_, buffer, size);
    if (count >= 0) return static_cast<std::size_t>(count);
    if (errno != EINTR) return 0;  // EAGAIN: nothing there after all
  }
}

void ChildProcess::WaitForOutputOrEnd(int timeoutMs) {
  pollfd watch{outputFd_, POLLIN, 0};
  int ready = poll(&watch, 1, timeoutMs);
  if (ready > 0 && (watch.revents & (POLLHUP | POLLERR)) && BytesWaiting() == 0) WaitForExit();
}

void ChildProcess::WaitForOutput(int timeoutMs) const {
  pollfd watch{outputFd_, POLLIN, 0};
  int ready = poll(&watch, 1, timeoutMs);
  // With no writer left the pipe reports a hang-up at once; sleep instead.
  if (ready > 0 && (watch.revents & (POLLHUP | POLLERR)) && BytesWaiting() == 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
}

}  // namespace sonvarro::platform
