#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <functional>

#include "controls/Keys.h"
#include "sourcelist/TrimTimeline.h"

namespace sonvarro {

// One trim handle (`Splitter1`, `Splitter2`): its picture stretched over it,
// the picture's black pixels in the handle's background colour, and a hand
// cursor. It reports where a drag would take the outer part it resizes.
class TimelineHandleWidget final : public QWidget {
  Q_OBJECT
 public:
  TimelineHandleWidget(TimelineHandle handle, QWidget* parent);

  // Repaints only when what was painted last no longer matches; false when
  // it matched.
  bool DrawHandle();

  // Every step of a drag and the release: the width the outer part asks for.
  std::function<void(int outerWidth)> OnMoved;
  // The outer part's width when a drag starts.
  std::function<int()> OuterWidth;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int RequestedWidth(const QMouseEvent* event) const;

  TimelineHandle handle_;
  QImage picture_;
  QPixmap painted_;  // the picture as painted last: stretched and recoloured
  QColor paintedBackground_;
  bool dragging_ = false;
  double pressX_ = 0;
  int pressWidth_ = 0;
  int lastReported_ = 0;
};

// A picture of the strip beside or between the handles (`Panel2`, `Panel3`,
// `Panel4`); reports presses of the mouse, a double click as a press.
class TimelinePanelWidget final : public QWidget {
  Q_OBJECT
 public:
  TimelinePanelWidget(const char* name, bool range, QWidget* parent);

  std::function<void(MouseButton button, const HeldModifiers& held)> OnMouseDown;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool range_;
};

// The trim timeline `Panel1`: the two handles and the three pictures laid out
// by their alignments (Panel2 and the start handle from the left, Panel3 and
// the end handle from the right, Panel4 filling the rest). It draws and
// reports; the trim timeline behaviour decides.
class TimelineStrip final : public QWidget, public ITimelineStrip {
  Q_OBJECT
 public:
  static constexpr int kHeight = 19;
  static constexpr int kHandleWidth = 19;

  explicit TimelineStrip(QWidget* parent = nullptr);

  TimelinePanelWidget* Panel2;
  TimelineHandleWidget* Splitter1;
  TimelinePanelWidget* Panel4;
  TimelineHandleWidget* Splitter2;
  TimelinePanelWidget* Panel3;

  int Panel1Width() const override { return width(); }
  void SetPanel1Width(int width) override;
  int Panel2Width() const override { return panel2Width_; }
  void SetPanel2Width(int width) override;
  int Panel3Width() const override { return panel3Width_; }
  void SetPanel3Width(int width) override;
  int Panel4Width() const override;
  int HandleWidth(TimelineHandle) const override { return kHandleWidth; }
  bool DrawHandle(TimelineHandle handle) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Arrange();

  int panel2Width_ = 1;
  int panel3Width_ = 1;
};

// The strip's background colour (5062973 as the design gives it, blue in
// the high byte).
QColor TimelineBackground();

}  // namespace sonvarro
