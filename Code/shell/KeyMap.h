#pragma once

// The main window's keyboard shortcuts. The window sees every key before the
// focused control; a matching key presses the command's button and still
// reaches the focused control afterwards.

namespace sonvarro {

enum class MainWindowCommand { None, OpenFile, RemoveFile, ClearFile, Convert, SelectOutputFolder };

// What is held while the key goes down.
struct HeldModifiers {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  bool mouseButton = false;
};

// `key` is the key's code; letters are their upper-case ASCII codes.
// Every shortcut here needs exactly Ctrl: Shift, Alt or a held mouse button
// as well turns it off.
MainWindowCommand MapMainWindowKey(int key, const HeldModifiers& held);

}  // namespace sonvarro
