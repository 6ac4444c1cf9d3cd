#pragma once

// The main window's keyboard shortcuts. The window sees every key before the
// focused control; a matching key runs the command of its button and still
// reaches the focused control afterwards.

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

// `key` as controls/Keys.h gives it. F1 opens the help whatever is held;
// every other shortcut needs exactly Ctrl: Shift, Alt or a held mouse button
// as well turns it off.
MainWindowCommand MapMainWindowKey(int key, const HeldModifiers& held);

}  // namespace sonvarro
