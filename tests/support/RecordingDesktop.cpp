#include "RecordingDesktop.h"

#include <gtest/gtest.h>

#include "services/LastResort.h"

namespace sonvarro::test {

RecordingDesktop::RecordingDesktop() : previous_(InstallLastResortDesktop(this)) {}

RecordingDesktop::~RecordingDesktop() { InstallLastResortDesktop(previous_); }

platform::MessageAnswer RecordingDesktop::ShowMessage(const std::string& caption, const std::string& text,
                                                      platform::MessageIcon icon, platform::MessageButtons buttons) {
  return ShowMessageClosingAfter(caption, text, icon, buttons, 0);
}

platform::MessageAnswer RecordingDesktop::ShowMessageClosingAfter(const std::string& caption, const std::string& text,
                                                                  platform::MessageIcon icon,
                                                                  platform::MessageButtons buttons, int closeAfterMs) {
  messages.push_back({caption, text, icon, buttons, closeAfterMs});
  if (whileOpen) whileOpen(messages.back());
  if (answers.empty()) return platform::MessageAnswer::Ok;
  auto answer = answers.front();
  answers.pop_front();
  return answer;
}

void GuardDesktop::PowerOff() { ADD_FAILURE() << "a test reached the power-off"; }

void GuardDesktop::OpenFolder(const std::string& folder) {
  ADD_FAILURE() << "a test reached the file manager with " << folder;
}

void GuardDesktop::ShellOpen(const std::string& target) {
  ADD_FAILURE() << "a test reached the desktop with " << target;
}

void GuardDesktop::OpenInBrowser(const std::string& url) { ADD_FAILURE() << "a test reached the browser with " << url; }

platform::MessageAnswer GuardDesktop::ShowMessage(const std::string&, const std::string& text, platform::MessageIcon,
                                                  platform::MessageButtons) {
  ADD_FAILURE() << "unexpected message box: " << text;
  return platform::MessageAnswer::None;
}

}  // namespace sonvarro::test
