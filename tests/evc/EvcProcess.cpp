#include "EvcProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace sonvarro::test {

std::string EvcPath() {
  if (const char* path = std::getenv("SONVARRO_EVC_EXE")) return path;
  return SONVARRO_EVC_EXE;
}

namespace {

EvcRun RunOnce(const std::vector<std::string>& args, int timeoutSeconds, const std::string& stopOnOutput) {
  EvcRun run;
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC)) return run;
  std::vector<std::string> all = {EvcPath()};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  pid_t pid = 0;
  run.started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (!run.started) {
    close(in[1]);
    close(out[0]);
    close(err[0]);
    return run;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* texts[2] = {&run.out, &run.err};
  int open = 2;
  while (open > 0) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      run.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    if (poll(fds, 2, static_cast<int>(left.count())) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        texts[i]->append(buffer, static_cast<size_t>(n));
        if (i == 0 && !stopOnOutput.empty() && !run.stopSent && run.out.find(stopOnOutput) != std::string::npos)
          run.stopSent = kill(pid, SIGTERM) == 0;
      } else {
        fds[i].fd = -1;
        --open;
      }
    }
  }
  close(in[1]);
  close(out[0]);
  close(err[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  run.exited = !run.timedOut && WIFEXITED(status);
  if (run.exited) run.exitCode = WEXITSTATUS(status);
  run.killedFromOutside = !run.timedOut && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  return run;
}

}  // namespace

EvcRun RunEvc(const std::vector<std::string>& args, int timeoutSeconds, const std::string& stopOnOutput) {
  // The conversion job's tests stop every process named evc.exe on the
  // machine. Within one ctest run the resource lock keeps them apart; a
  // second test run alongside (another build on the same machine) can still
  // strike. evc never kills itself, so a SIGKILL we did not send is theirs,
  // and the run is repeated after a pause.
  constexpr int kAttempts = 50;
  EvcRun run;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    run = RunOnce(args, timeoutSeconds, stopOnOutput);
    if (!run.killedFromOutside) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace sonvarro::test
