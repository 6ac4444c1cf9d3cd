#pragma once

#include <string>

namespace sonvarro::platform {

enum class MessageIcon { Error, Warning, Question, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { None, Ok, Yes, No, Cancel };

// The machine-facing actions a user sees or feels: power-off, a folder shown
// in the file manager, files and addresses opened, message boxes. The program installs the real ones;
// tests install doubles, so a test can never power the machine off.
class IDesktop {
 public:
  virtual ~IDesktop() = default;
  virtual void PowerOff() = 0;
  virtual void OpenFolder(const std::string& folder) = 0;
  // Opens a file, a web address or a "mailto:" address with the desktop's
  // default handler for it (Windows: ShellExecute with the default verb),
  // without waiting. A failure is the handler's to report.
  virtual void ShellOpen(const std::string& target) = 0;
  // Whether the desktop has a program for the type of this file, so that
  // ShellOpen shows it instead of a message that nothing can open it.
  virtual bool HasHandlerFor(const std::string& file) = 0;
  // Opens a web address in the default web browser, without waiting.
  virtual void OpenInBrowser(const std::string& url) = 0;
  virtual MessageAnswer ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon,
                                    MessageButtons buttons) = 0;
  // The same box, but one that closes itself when nobody has answered it
  // within closeAfterMs (the answer is None then), so that whatever waits
  // for it goes on. A desktop whose boxes never wait for anybody keeps this.
  virtual MessageAnswer ShowMessageClosingAfter(const std::string& caption, const std::string& text, MessageIcon icon,
                                                MessageButtons buttons, int /*closeAfterMs*/) {
    return ShowMessage(caption, text, icon, buttons);
  }
  // Lets the user interface handle what is waiting (no-op without windows).
  virtual void ProcessPendingEvents() {}
  // Lets the windows paint what changed and the timers run, but leaves the
  // user's clicks and keys waiting, so that no handler of theirs runs in the
  // middle of the work that asks (no-op without windows).
  virtual void ProcessPendingPaints() {}
};

// The machine's own desktop. The program hands a desktop to whatever needs
// one; this is where the composition root takes it from.
IDesktop& SystemDesktop();

}  // namespace sonvarro::platform
