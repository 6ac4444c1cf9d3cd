#pragma once

// The main window's keyboard shortcuts. The window sees every key before the
// focused control; a matching key runs the command of its button and still
// reaches the focused control afterwards.

#include <string>

#include "controls/Keys.h"

namespace sonvarro {

enum class MainWindowCommand {
  None,
  OpenFile,
  RemoveFile,
  ClearFile,
  Convert,
  SelectOutputFolder,
  Options,
  Help,
  Play,
  Pause,
  Stop
};

namespace keymap_detail {

struct CtrlShortcut {
  char letter;
  MainWindowCommand command;
};

inline constexpr CtrlShortcut kCtrlShortcuts[] = {
    {'O', MainWindowCommand::OpenFile},  {'R', MainWindowCommand::RemoveFile},
    {'L', MainWindowCommand::ClearFile}, {'S', MainWindowCommand::Convert},
    {'N', MainWindowCommand::Convert},   {'B', MainWindowCommand::SelectOutputFolder},
    {'I', MainWindowCommand::Options},   {'P', MainWindowCommand::Play},
    {'U', MainWindowCommand::Pause},     {'T', MainWindowCommand::Stop},
};

}  // namespace keymap_detail

// `key` as controls/Keys.h gives it. F1 opens the help whatever is held;
// every other shortcut needs exactly Ctrl: Shift, Alt or a held mouse button
// as well turns it off.
inline MainWindowCommand MapMainWindowKey(int key, const HeldModifiers& held) {
  if (key == kKeyF1) return MainWindowCommand::Help;
  if (!held.ctrl || held.shift || held.alt || held.mouseButton) return MainWindowCommand::None;
  for (const keymap_detail::CtrlShortcut& shortcut : keymap_detail::kCtrlShortcuts) {
    if (key == shortcut.letter) return shortcut.command;
  }
  return MainWindowCommand::None;
}

// The hint of the button that runs command: its first Ctrl shortcut as
// "Ctrl + O"; empty for a command without one.
inline std::string ShortcutHint(MainWindowCommand command) {
  for (const keymap_detail::CtrlShortcut& shortcut : keymap_detail::kCtrlShortcuts) {
    if (shortcut.command == command) return std::string("Ctrl + ") + shortcut.letter;
  }
  return {};
}

}  // namespace sonvarro
