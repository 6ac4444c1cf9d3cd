#include "services/platform/Desktop.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <thread>
#include <vector>

extern char** environ;

namespace sonvarro::platform {
namespace {

// Starts a program with an argument vector (never through a shell) and reaps
// it in the background, so no zombie is left behind. The child starts clean:
// default signal handling, nothing blocked, no input, and none of our open
// files (an encoder pipe or the log must not live on in a file manager).
// A program that cannot be started leaves no trace.
void SpawnDetached(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);

  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, argv[0], &files, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  if (failed) return;
  try {
    std::thread([pid] {
      int status = 0;
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the child stays a zombie until we end.
  }
}

class SystemDesktop final : public IDesktop {
 public:
  // The service manager powers off; like a plain user's request it is
  // refused while other users are logged in or something holds it off.
  void PowerOff() override { SpawnDetached({"systemctl", "poweroff"}); }
  // The folder goes as one argument, so any name works.
  void OpenFolder(const std::string& folder) override { SpawnDetached({"xdg-open", folder}); }
  MessageAnswer ShowMessage(const std::string& caption, const std::string& text, MessageIcon, MessageButtons) override {
    // Without windows there is nobody to answer: say it on the console.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return MessageAnswer::None;
  }
};

SystemDesktop& SystemOwn() {
  static SystemDesktop desktop;
  return desktop;
}

IDesktop* current = nullptr;

}  // namespace

IDesktop& Desktop() { return current ? *current : SystemOwn(); }

void SetDesktop(IDesktop* desktop) { current = desktop; }

}  // namespace sonvarro::platform
