#pragma once

#include <functional>
#include <string>
#include <vector>

#include "controls/Keys.h"

namespace sonvarro {

using PanelPress = std::function<void(MouseButton button, const HeldModifiers& held)>;

// What the main window reports to its behaviour, which publishes them
// (TFrmMainForm::Events) and its skin binds them in one call.
struct MainWindowEvents {
  std::function<void()> FormShow;  // the first show only
  std::function<void()> btnOpenFileClick;
  std::function<void()> btnRemoveFileClick;
  std::function<void()> btnClearFileClick;
  std::function<void()> btnConvertClick;
  std::function<void()> btnSelectOutputFolderClick;  // also RzBmpButton1
  std::function<void()> btnOptionsClick;
  std::function<void()> btnPlayClick;
  std::function<void()> btnPauseClick;
  std::function<void()> btnStopClick;
  std::function<void(std::vector<std::string> paths)> WMDropFiles;
  std::function<void(int key)> dxTreeSourceFileInfoKeyDown;
  std::function<void(int key)> dxTreeSourceFileInfoKeyUp;
  std::function<void()> actDxTreeListOnClickExecute;
  std::function<void(int row)> dxTreeSourceFileInfoEdited;
  std::function<void()> dxtrlSourceFileStartTimeChange;
  // The timeline: a handle's drag step or release with the width its outer
  // part asks for, and presses on the pictures.
  std::function<void(int panel2Width)> SetStartTimeAndPlay;
  std::function<void(int panel3Width)> Splitter2Moved;
  PanelPress Panel2MouseDown;
  PanelPress Panel3MouseDown;
  PanelPress Panel4MouseDown;
  std::function<void()> dxTreeSourceFileInfoEndDrag;
  std::function<void()> FormClose;
  std::function<void(int key, const HeldModifiers& held)> PreviewKey;
  std::function<void()> actMinimizeExecute;     // btnWindowMinimize
  std::function<void()> actCloseWindowExecute;  // btnWindowClose
  std::function<void()> ActSysHomePageExecute;  // btnHomePage
  std::function<void()> ActSysEmailExecute;     // btnEMail
  std::function<void()> ActSysHelpExecute;      // btnHelp
  std::function<void()> ActSysAboutExecute;     // btnAbout
  std::function<void()> Label3Click;
};

// The main window's own frame as its behaviour drives it: its minimise and
// close buttons have no system caption to go through.
class IWindowFrame {
 public:
  virtual ~IWindowFrame() = default;
  // Restored first, so that the window comes back at its normal size.
  virtual void Minimize() = 0;
  // Closing raises FormClose.
  virtual void Close() = 0;
};

}  // namespace sonvarro
