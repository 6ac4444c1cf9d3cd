#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "controls/Keys.h"
#include "ui/Application.h"
#include "ui/MainWindowWidgets.h"
#include "ui/QtControls.h"

namespace sonvarro {

using PanelPress = std::function<void(MouseButton button, const HeldModifiers& held)>;

// What the main window reports to its behaviour.
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

// The main window's Qt skin: its widgets, the control views of them, and
// every event it raises, each run under the
// last-resort handler. The behaviour lives in TFrmMainForm.
class MainWindow final : public QWidget, public KeyPreviewWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);

  MainWindowWidgets& Widgets() { return *widgets_; }
  SourceGrid& Grid() { return *widgets_->dxTreeSourceFileInfo; }
  TimelineStrip& Timeline() { return *widgets_->Panel1; }
  // The window as the conversion disables and enables it.
  IControl& WindowControl() { return windowControl_; }

  MainWindowEvents Events;

  void PreviewKey(const QKeyEvent& key) override;

  // Dragging by the title: on every move over it with the left button held
  // the window moves with the mouse.
  void lblTitleMouseMove(QMouseEvent* event);

  // Hands the move of the window to the window manager; false where none
  // offers it (the window then follows the mouse itself). Replaceable so
  // that tests can stand in for a window manager.
  std::function<bool()> StartSystemMove;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Raise(const std::function<void()>& handler);
  void WireTimeline(TimelineStrip& strip);
  void Drop(const QStringList& files);
  void PressToMove(const QPoint& globalPosition);
  void FollowDrag(const QPoint& globalPosition, Qt::MouseButtons held);
  void EndMove();

  MainWindowWidgets* widgets_;
  QtFocusKeepingControl windowControl_{this};
  bool shown_ = false;
  // A left press that may become a move of the window: the move starts once
  // the mouse has gone the platform's drag distance with the button held,
  // never on the press alone, and at most once per press.
  bool pressed_ = false;
  // The window follows the mouse itself (no window manager took the move).
  bool following_ = false;
  QPoint pressAt_;
  QPoint windowAtPress_;
};

}  // namespace sonvarro
