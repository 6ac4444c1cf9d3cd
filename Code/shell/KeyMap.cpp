#include "shell/KeyMap.h"

namespace sonvarro {
namespace {

struct CtrlShortcut {
  char letter;
  MainWindowCommand command;
};

constexpr CtrlShortcut kCtrlShortcuts[] = {
    {'O', MainWindowCommand::OpenFile},  {'R', MainWindowCommand::RemoveFile},
    {'L', MainWindowCommand::ClearFile}, {'S', MainWindowCommand::Convert},
    {'N', MainWindowCommand::Convert},   {'B', MainWindowCommand::SelectOutputFolder},
    {'I', MainWindowCommand::Options},   {'P', MainWindowCommand::Play},
    {'U', MainWindowCommand::Pause},     {'T', MainWindowCommand::Stop},
};

}  // namespace

MainWindowCommand MapMainWindowKey(int key, const HeldModifiers& held) {
  if (key == kKeyF1) return MainWindowCommand::Help;
  if (!held.ctrl || held.shift || held.alt || held.mouseButton) return MainWindowCommand::None;
  for (const CtrlShortcut& shortcut : kCtrlShortcuts) {
    if (key == shortcut.letter) return shortcut.command;
  }
  return MainWindowCommand::None;
}

}  // namespace sonvarro
