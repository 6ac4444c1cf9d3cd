#include "services/platform/Desktop.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <thread>
#include <vector>

extern char** environ;

namespace sonvarro::platform {
namespace {

// Starts a program with an argument vector (never through a shell) and reaps
// it in the background, so no zombie is left behind.
void SpawnDetached(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return;
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
}

class SystemDesktop final : public IDesktop {
 public:
  void PowerOff() override { SpawnDetached({"systemctl", "poweroff"}); }
  void OpenFolder(const std::string& folder) override { SpawnDetached({"xdg-open", folder}); }
  MessageAnswer ShowMessage(const std::string& caption, const std::string& text, MessageIcon,
                            MessageButtons) override {
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
