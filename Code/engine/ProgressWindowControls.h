#pragma once

#include <functional>

#include "controls/Controls.h"

namespace sonvarro {

// The controls of the progress window `TfrmConverting` that its behaviour
// reads and writes, and the events it receives from them.
struct ProgressWindowControls {
  IWindow& window;
  ITextField& lblInfo;         // animated status text
  ITextField& lblCurFileName;  // source path being converted
  ITextField& lblPersent;      // file counter
  IProgressBar& pbTotal;       // whole job
  IProgressBar& ProgressBar1;  // current file, in seconds of output
  ITextField& statState;       // the status bar's one panel: the last encoder output
};

// What the window reports to its behaviour.
struct ProgressWindowEvents {
  std::function<void()> FormShow;  // each time it goes from hidden to visible
  std::function<void()> btnStop1Click;
  std::function<void()> FormClose;  // the user asked to close it (not a hide from code)
};

}  // namespace sonvarro
