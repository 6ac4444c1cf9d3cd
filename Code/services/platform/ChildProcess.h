#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "services/platform/Result.h"

namespace sonvarro::platform {

// A child program started from an argument vector (never through a shell),
// with its standard output and standard error merged into one pipe that the
// owner reads without ever blocking on absent data.
//
// The child runs in a session of its own (no controlling terminal) and
// inherits no descriptor but its three standard ones. Its standard input is a
// pipe whose write end this object holds open, unwritten, until the child has
// been reaped: a child that reads its input neither receives data nor sees an
// end of file, just as a console program whose input nobody types into.
class ChildProcess {
 public:
  // Starts args[0] (a path, not looked up on PATH) with args as its argument
  // vector and workingFolder as its current folder. Fails when the pipes or
  // the child cannot be created (a missing program, a missing working
  // folder, an empty vector); nothing is left open then.
  static Result<std::unique_ptr<ChildProcess>> Start(const std::vector<std::string>& args,
                                                     const std::string& workingFolder);

  // A child that still runs is killed and reaped, so no zombie is left behind.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }

  // Whether the child still runs. The first call that finds it ended reaps it;
  // later calls keep answering false.
  bool Running();
  // The child's exit code once reaped, 128 + signal number when a signal
  // ended it, -1 while it has not been reaped.
  int ExitCode() const { return exitCode_; }
  // Once reaped: what the signal that ended it means, such as "Killed" or
  // "File size limit exceeded"; empty when it exited by itself.
  const std::string& EndingSignal() const { return endingSignal_; }
  // Blocks until the child has ended, reaps it and returns ExitCode().
  int WaitForExit();

  // Bytes waiting in the output pipe right now, without removing them.
  std::size_t BytesWaiting() const;
  // Reads at most size bytes of what is waiting; never blocks. Returns the
  // number read (0 when nothing was there).
  std::size_t Read(char* buffer, std::size_t size);
  // Waits at most timeoutMs for output to arrive. Returns early when data
  // arrives; when the pipe has no writer left it sleeps the full timeout
  // instead, so a caller's polling loop never spins.
  void WaitForOutput(int timeoutMs) const;
  // The same wait, but once the pipe has no writer left and nothing waits
  // in it (the child has closed its output and is ending), it waits for the
  // child's end instead of sleeping, so that the owner learns of the end at
  // once.
  void WaitForOutputOrEnd(int timeoutMs);

 private:
#ifdef _WIN32
  ChildProcess(pid_t pid, void* process, void* output, void* input);
#else
  ChildProcess(pid_t pid, int outputFd, int inputFd);
#endif
  void Reaped(int status);

  pid_t pid_;
#ifdef _WIN32
  void* process_;  // the process's handle: its id stays ours until it is closed
  void* output_;   // read end of the merged stdout/stderr pipe
  void* input_;    // write end of the child's stdin pipe, never written
#else
  int outputFd_;  // read end of the merged stdout/stderr pipe
  int inputFd_;   // write end of the child's stdin pipe, never written
#endif
  bool reaped_ = false;
  int exitCode_ = -1;
  std::string endingSignal_;
};

}  // namespace sonvarro::platform
