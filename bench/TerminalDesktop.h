#pragma once

// The desktop of a benchmark run: nobody is there to close a message box, so
// its text goes to the terminal and it answers at once; nothing is opened and
// the machine is never powered off.

#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "services/platform/Desktop.h"
#include "ui/QtDesktop.h"

namespace sonvarro::bench {

class TerminalDesktop : public platform::IDesktop {
 public:
  void PowerOff() override {}
  void OpenFolder(const std::string&) override {}
  void ShellOpen(const std::string&) override {}
  bool HasHandlerFor(const std::string&) override { return false; }
  void OpenInBrowser(const std::string&) override {}
  // As the program's own desktop does.
  void ProcessPendingEvents() override { QCoreApplication::processEvents(); }
  void ProcessPendingPaints() override { LetWindowsPaint(); }
  platform::MessageAnswer ShowMessage(const std::string& caption, const std::string& text, platform::MessageIcon,
                                      platform::MessageButtons) override {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    ++messages;
    return platform::MessageAnswer::Ok;
  }
  int messages = 0;
};

}  // namespace sonvarro::bench
