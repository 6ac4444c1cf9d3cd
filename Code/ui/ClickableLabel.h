#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace sonvarro {

// A label that reports a left click (press and release on it), as the
// design's link labels do.
class ClickableLabel final : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  }
};

}  // namespace sonvarro
