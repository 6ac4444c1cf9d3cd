#pragma once

#include "services/platform/Desktop.h"

namespace sonvarro {

// Lets the windows paint what changed and the timers run, leaving the user's
// clicks and keys waiting; at most once in kPaintIntervalMs, since a paint
// of the main window costs more than probing a file. Quick enough for the
// eye, rare enough to cost little.
inline constexpr int kPaintIntervalMs = 40;
void LetWindowsPaint();

// The desktop once windows exist: message boxes are Qt message boxes owned
// by the active window; power-off, folder display and opening files and
// addresses stay the system's own.
class QtDesktop final : public platform::IDesktop {
 public:
  explicit QtDesktop(platform::IDesktop& system) : system_(system) {}
  void PowerOff() override { system_.PowerOff(); }
  void OpenFolder(const std::string& folder) override { system_.OpenFolder(folder); }
  void ShellOpen(const std::string& target) override { system_.ShellOpen(target); }
  void OpenInBrowser(const std::string& url) override { system_.OpenInBrowser(url); }
  bool HasHandlerFor(const std::string& file) override { return system_.HasHandlerFor(file); }
  platform::MessageAnswer ShowMessage(const std::string& caption, const std::string& text, platform::MessageIcon icon,
                                      platform::MessageButtons buttons) override;
  platform::MessageAnswer ShowMessageClosingAfter(const std::string& caption, const std::string& text,
                                                  platform::MessageIcon icon, platform::MessageButtons buttons,
                                                  int closeAfterMs) override;
  void ProcessPendingEvents() override;
  void ProcessPendingPaints() override;

 private:
  platform::IDesktop& system_;
};

}  // namespace sonvarro
