#include "ui/VideoWindow.h"

#include <QPainter>
#include <cstring>

namespace sonvarro {

// The player's pixels are blue, green, red, unused in memory order, which is
// Format_RGB32 only where the least significant byte comes first.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "VideoWindow copies pixels as little-endian RGB32");

VideoWindow::VideoWindow(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  setAutoFillBackground(true);
}

void VideoWindow::ShowFrame(const VideoFrame& frame) {
  if (frame.width <= 0 || frame.height <= 0 || !frame.pixels) return;
  if (picture_.width() != frame.width || picture_.height() != frame.height) {
    picture_ = QImage(frame.width, frame.height, QImage::Format_RGB32);
  }
  picture_.setDevicePixelRatio(devicePixelRatioF());
  for (int y = 0; y < frame.height; ++y) {
    const unsigned char* from = frame.pixels + frame.stride * static_cast<std::size_t>(y);
    auto* to = reinterpret_cast<quint32*>(picture_.scanLine(y));
    std::memcpy(to, from, static_cast<std::size_t>(frame.width) * 4);
    // The unused byte holds whatever the renderer left there; RGB32 wants it opaque.
    for (int x = 0; x < frame.width; ++x) to[x] |= 0xff000000u;
  }
  update();
}

void VideoWindow::ShowNothing() {
  if (picture_.isNull()) return;
  picture_ = QImage();
  update();
}

void VideoWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (picture_.isNull()) return;
  const QSizeF shown = picture_.deviceIndependentSize().scaled(QSizeF(size()), Qt::KeepAspectRatio);
  QRectF target(QPointF(0, 0), shown);
  target.moveCenter(QRectF(rect()).center());
  painter.drawImage(target, picture_);
}

}  // namespace sonvarro
