#include "services/platform/Desktop.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <thread>
#include <vector>

#include "services/platform/Spawn.h"

namespace sonvarro::platform {
namespace {

// Starts a program found on PATH and reaps it in the background, so no
// zombie is left behind. It gets no input and none of our open files (an
// encoder pipe or the log must not live on in a file manager). A program
// that cannot be started leaves no trace.
void SpawnDetached(std::vector<std::string> args) {
  SpawnRequest request;
  request.args = std::move(args);
  request.searchPath = true;
  const Result<pid_t> started = Spawn(request);
  if (!started) return;
  const pid_t pid = started.Value();
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

// Runs a program found on PATH and returns the first line it printed, or ""
// when it could not be started, failed or printed nothing.
std::string FirstLineOf(std::vector<std::string> args) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return {};
  SpawnRequest request;
  request.args = std::move(args);
  request.searchPath = true;
  request.output = pipeFds[1];
  const Result<pid_t> started = Spawn(request);
  close(pipeFds[1]);
  std::string text;
  if (started) {
    char buffer[512];
    for (;;) {
      const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
      if (got > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        break;
      }
    }
  }
  close(pipeFds[0]);
  if (!started) return {};
  int status = 0;
  while (waitpid(started.Value(), &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  return text.substr(0, text.find('\n'));
}

class SystemDesktop final : public IDesktop {
 public:
  // The service manager powers off; like a plain user's request it is
  // refused while other users are logged in or something holds it off.
  void PowerOff() override { SpawnDetached({"systemctl", "poweroff"}); }
  // The folder goes as one argument, so any name works.
  void OpenFolder(const std::string& folder) override { SpawnDetached({"xdg-open", folder}); }
  // xdg-open hands a file to the program the desktop has for its type, an
  // address to the default browser and a mailto: address to the mail
  // program; it shows its own message when there is none.
  void ShellOpen(const std::string& target) override { SpawnDetached({"xdg-open", target}); }
  void OpenInBrowser(const std::string& url) override { SpawnDetached({"xdg-open", url}); }
  // The file's type as the desktop sees it, then the program the desktop
  // has chosen for that type; either missing means xdg-open would only
  // complain.
  bool HasHandlerFor(const std::string& file) override {
    const std::string type = FirstLineOf({"xdg-mime", "query", "filetype", file});
    return !type.empty() && !FirstLineOf({"xdg-mime", "query", "default", type}).empty();
  }
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

}  // namespace

IDesktop& SystemDesktop() { return SystemOwn(); }

}  // namespace sonvarro::platform
