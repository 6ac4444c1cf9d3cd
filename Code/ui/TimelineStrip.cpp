#include "ui/TimelineStrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/QtKeys.h"

namespace sonvarro {
namespace {

constexpr int kDesignBackground = 5062973;

// The handle pictures `imgL` and `imgR`, 17 x 19: a marker pin. Black ('.')
// pixels take the handle's background colour.
constexpr int kPictureWidth = 17;
constexpr int kPictureHeight = 19;
constexpr const char* kHandleArt[kPictureHeight] = {
    "....DDDDDDDDD....", "...DWWWWWWWWWD...", "...DWAAAAAAAWD...", "...DWAAAAAAAWD...", "...DWWWWWWWWWD...",
    "...DWGGGGGGGWD...", "...DWGDGDGDGWD...", "...DWGGGGGGGWD...", "...DWGDGDGDGWD...", "...DWGGGGGGGWD...",
    "...DWGDGDGDGWD...", "...DWGGGGGGGWD...", "...DWGDGDGDGWD...", "...DWGGGGGGGWD...", "...DWWWWWWWWWD...",
    "....DWWWWWWWD....", ".....DWWWWWD.....", "......DWWWD......", ".......DDD.......",
};

QImage HandlePicture(TimelineHandle handle) {
  const QColor accent = handle == TimelineHandle::Start ? QColor(76, 195, 138) : QColor(240, 110, 75);
  QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      QColor colour(Qt::black);
      switch (kHandleArt[y][x]) {
        case 'W': colour = QColor(242, 244, 248); break;
        case 'G': colour = QColor(184, 190, 204); break;
        case 'D': colour = QColor(36, 39, 48); break;
        case 'A': colour = accent; break;
        default: break;
      }
      image.setPixelColor(x, y, colour);
    }
  }
  return image;
}

MouseButton ButtonOf(Qt::MouseButton button) {
  if (button == Qt::LeftButton) return MouseButton::Left;
  if (button == Qt::RightButton) return MouseButton::Right;
  return MouseButton::Middle;
}

}  // namespace

QColor TimelineBackground() {
  return QColor(kDesignBackground & 0xFF, (kDesignBackground >> 8) & 0xFF, (kDesignBackground >> 16) & 0xFF);
}

TimelineHandleWidget::TimelineHandleWidget(TimelineHandle handle, QWidget* parent)
    : QWidget(parent), handle_(handle), picture_(HandlePicture(handle)) {
  setObjectName(handle == TimelineHandle::Start ? "Splitter1" : "Splitter2");
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool TimelineHandleWidget::DrawHandle() {
  // A hidden handle is painted when it shows again.
  const QColor background = palette().color(backgroundRole());
  if (!isVisible() || (painted_.deviceIndependentSize().toSize() == size() && paintedBackground_ == background)) {
    return false;
  }
  update();
  return true;
}

void TimelineHandleWidget::paintEvent(QPaintEvent*) {
  const QColor background = palette().color(backgroundRole());
  if (painted_.deviceIndependentSize().toSize() != size() || paintedBackground_ != background) {
    QImage image = picture_.copy();
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == QColor(Qt::black)) image.setPixelColor(x, y, background);
    // Stretched at the screen's pixels: each picture pixel stays a sharp
    // block on a screen of 150 % or 200 %, not a blur.
    const qreal ratio = devicePixelRatioF();
    painted_ = QPixmap::fromImage(image.scaled(size() * ratio));
    painted_.setDevicePixelRatio(ratio);
    paintedBackground_ = background;
  }
  QPainter(this).drawPixmap(0, 0, painted_);
}

int TimelineHandleWidget::RequestedWidth(const QMouseEvent* event) const {
  const int moved = static_cast<int>(event->globalPosition().x() - pressX_);
  // The start handle resizes the part on its left, the end handle the part on its right.
  return handle_ == TimelineHandle::Start ? pressWidth_ + moved : pressWidth_ - moved;
}

void TimelineHandleWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !OuterWidth) return;
  dragging_ = true;
  pressX_ = event->globalPosition().x();
  pressWidth_ = OuterWidth();
  lastReported_ = pressWidth_;
}

void TimelineHandleWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const int requested = RequestedWidth(event);
  if (requested == lastReported_) return;
  lastReported_ = requested;
  if (OnMoved) OnMoved(requested);
}

void TimelineHandleWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return;
  dragging_ = false;
  // The release counts as a move, also after a press that did not move.
  if (OnMoved) OnMoved(RequestedWidth(event));
}

TimelinePanelWidget::TimelinePanelWidget(const char* name, bool range, QWidget* parent)
    : QWidget(parent), range_(range) {
  setObjectName(name);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TimelinePanelWidget::paintEvent(QPaintEvent*) {
  // A groove along the strip; inside the range it is lit.
  QPainter painter(this);
  painter.fillRect(rect(), TimelineBackground());
  const QRect groove(0, 6, width(), 7);
  if (range_) {
    painter.fillRect(groove, QColor(74, 144, 217));
    painter.fillRect(QRect(0, 6, width(), 2), QColor(134, 184, 236));
  } else {
    painter.fillRect(groove, QColor(38, 41, 50));
  }
}

void TimelinePanelWidget::mousePressEvent(QMouseEvent* event) {
  if (OnMouseDown) OnMouseDown(ButtonOf(event->button()), HeldWith(event->modifiers()));
}

void TimelinePanelWidget::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

TimelineStrip::TimelineStrip(QWidget* parent)
    : QWidget(parent),
      Panel2(new TimelinePanelWidget("Panel2", false, this)),
      Splitter1(new TimelineHandleWidget(TimelineHandle::Start, this)),
      Panel4(new TimelinePanelWidget("Panel4", true, this)),
      Splitter2(new TimelineHandleWidget(TimelineHandle::End, this)),
      Panel3(new TimelinePanelWidget("Panel3", false, this)) {
  setObjectName("Panel1");
  QPalette p = palette();
  p.setColor(QPalette::Window, TimelineBackground());
  setPalette(p);
  setAutoFillBackground(true);
  Splitter1->OuterWidth = [this] { return panel2Width_; };
  Splitter2->OuterWidth = [this] { return panel3Width_; };
  resize(TrimTimeline::kStripWidth, kHeight);
  Arrange();
}

void TimelineStrip::SetPanel1Width(int width) {
  if (width != this->width()) resize(width, kHeight);
}

void TimelineStrip::SetPanel2Width(int width) {
  panel2Width_ = width;
  Arrange();
}

void TimelineStrip::SetPanel3Width(int width) {
  panel3Width_ = width;
  Arrange();
}

int TimelineStrip::Panel4Width() const { return std::max(0, width() - panel2Width_ - panel3Width_ - 2 * kHandleWidth); }

bool TimelineStrip::DrawHandle(TimelineHandle handle) {
  return (handle == TimelineHandle::Start ? Splitter1 : Splitter2)->DrawHandle();
}

void TimelineStrip::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Arrange();
}

void TimelineStrip::Arrange() {
  const int w = width();
  Panel2->setGeometry(0, 0, std::max(0, panel2Width_), kHeight);
  Splitter1->setGeometry(panel2Width_, 0, kHandleWidth, kHeight);
  Panel4->setGeometry(panel2Width_ + kHandleWidth, 0, Panel4Width(), kHeight);
  Panel3->setGeometry(w - panel3Width_, 0, std::max(0, panel3Width_), kHeight);
  Splitter2->setGeometry(w - panel3Width_ - kHandleWidth, 0, kHandleWidth, kHeight);
}

}  // namespace sonvarro
