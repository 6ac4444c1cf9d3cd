#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/Keys.h"
#include "controls/MainWindowEvents.h"
#include "ui/Application.h"
#include "ui/MainWindowWidgets.h"
#include "ui/QtControls.h"

namespace sonvarro {

// The main window's Qt skin: its widgets, the control views of them, and
// every event it raises, each run under the
// last-resort handler. The behaviour lives in TFrmMainForm.
class MainWindow final : public QWidget, public KeyPreviewWindow {
  Q_OBJECT
 public:
  // startSystemMove hands the move of the window to the window manager;
  // false where none offers it (the window then follows the mouse itself).
  // Empty: the platform's window manager; tests stand in for one.
  explicit MainWindow(QWidget* parent = nullptr, std::function<bool()> startSystemMove = {});

  MainWindowWidgets& Widgets() { return *widgets_; }
  SourceGrid& Grid() { return *widgets_->dxTreeSourceFileInfo; }
  TimelineStrip& Timeline() { return *widgets_->Panel1; }
  // The window as the conversion disables and enables it.
  IControl& WindowControl() { return windowControl_; }

  // The window's own frame: its minimise and close buttons.
  IWindowFrame& Frame() { return frame_; }

  // Hands every event to the behaviour's handlers.
  void Bind(MainWindowEvents events) { events_ = std::move(events); }

  void PreviewKey(const QKeyEvent& key) override;

  // Dragging by the title: on every move over it with the left button held
  // the window moves with the mouse.
  void lblTitleMouseMove(QMouseEvent* event);

 protected:
  bool event(QEvent* event) override;
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
  void CutOutline();
  void WireTimeline(TimelineStrip& strip);
  void Drop(const QStringList& files);
  void PressToMove(const QPoint& globalPosition);
  void FollowDrag(const QPoint& globalPosition, Qt::MouseButtons held);
  void EndMove();

  class OwnFrame final : public IWindowFrame {
   public:
    explicit OwnFrame(QWidget* window) : window_(window) {}
    void Minimize() override;
    void Close() override { window_->close(); }

   private:
    QWidget* window_;
  };

  MainWindowWidgets* widgets_;
  std::function<bool()> startSystemMove_;
  MainWindowEvents events_;
  OwnFrame frame_{this};
  QtFocusKeepingControl windowControl_{this};
  bool shown_ = false;
  // The device pixel ratio the outline was cut for.
  qreal outlineRatio_ = 0;
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
