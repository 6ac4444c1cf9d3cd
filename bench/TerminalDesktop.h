#pragma once

#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "services/platform/Desktop.h"
#include "ui/QtDesktop.h"

namespace sonvarro {

// The benchmarks' desktop: message boxes go to the terminal, since nobody is
// there to close them, and nothing is opened or powered off.
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
    return platform::MessageAnswer::Ok;
  }
};

}  // namespace sonvarro
