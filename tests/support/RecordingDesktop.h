#pragma once

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "services/platform/Desktop.h"

namespace sonvarro::test {

// Records every desktop action instead of doing it; message boxes answer
// from a queue of scripted answers (Ok when the queue is empty).
class RecordingDesktop : public platform::IDesktop {
 public:
  struct Message {
    std::string caption;
    std::string text;
    platform::MessageIcon icon;
    platform::MessageButtons buttons;
    int closeAfterMs = 0;  // 0: the box waits for its answer
  };

  RecordingDesktop();            // the last resort reports here while it lives
  ~RecordingDesktop() override;  // and where it reported before, afterwards

  void PowerOff() override { ++powerOffs; }
  void OpenFolder(const std::string& folder) override { openedFolders.push_back(folder); }
  void ShellOpen(const std::string& target) override { shellOpened.push_back(target); }
  void OpenInBrowser(const std::string& url) override { browserOpened.push_back(url); }
  bool HasHandlerFor(const std::string& file) override { return !unhandledTypes.count(Extension(file)); }
  platform::MessageAnswer ShowMessage(const std::string& caption, const std::string& text, platform::MessageIcon icon,
                                      platform::MessageButtons buttons) override;
  // Recorded with its timeout; answers from the same queue (None stands for
  // a box nobody answered, which closed itself).
  platform::MessageAnswer ShowMessageClosingAfter(const std::string& caption, const std::string& text,
                                                  platform::MessageIcon icon, platform::MessageButtons buttons,
                                                  int closeAfterMs) override;
  void ProcessPendingEvents() override { ++pendingEventRuns; }

  int powerOffs = 0;
  int pendingEventRuns = 0;
  std::vector<std::string> openedFolders;
  std::vector<std::string> shellOpened;
  std::vector<std::string> browserOpened;
  std::vector<Message> messages;
  std::deque<platform::MessageAnswer> answers;
  // Extensions (".chm") the desktop has no program for; every other type has one.
  std::set<std::string> unhandledTypes;
  // Runs while a message box is open, before it is answered: what the user
  // leaves waiting (virtual time passing, say) happens here.
  std::function<void(const Message&)> whileOpen;

 private:
  static std::string Extension(const std::string& file) {
    const auto dot = file.rfind('.');
    return dot == std::string::npos ? std::string() : file.substr(dot);
  }
  platform::IDesktop* previous_;
};

// Installed for the whole test run: any desktop action a test did not expect
// fails that test instead of reaching the machine.
class GuardDesktop : public platform::IDesktop {
 public:
  void PowerOff() override;
  void OpenFolder(const std::string& folder) override;
  void ShellOpen(const std::string& target) override;
  void OpenInBrowser(const std::string& url) override;
  // A question changes nothing on the machine: every type has a program.
  bool HasHandlerFor(const std::string&) override { return true; }
  platform::MessageAnswer ShowMessage(const std::string& caption, const std::string& text, platform::MessageIcon,
                                      platform::MessageButtons) override;
};

}  // namespace sonvarro::test
