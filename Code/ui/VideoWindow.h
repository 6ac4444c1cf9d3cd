#pragma once

#include <QImage>
#include <QWidget>

#include "player/VideoSink.h"

namespace sonvarro {

// The video area of the preview: black, showing the player's pictures, which
// arrive letter-boxed at the area's size in the screen's pixels. A picture of another size (the area
// was resized since) is scaled to fit, keeping its shape.
class VideoWindow final : public QWidget, public VideoSink {
  Q_OBJECT
 public:
  explicit VideoWindow(QWidget* parent = nullptr);

  // In the screen's pixels, not in points: a screen of 200 % gets pictures
  // rendered at twice the size, not stretched.
  int Width() const override { return DevicePixels(width()); }
  int Height() const override { return DevicePixels(height()); }
  void ShowFrame(const VideoFrame& frame) override;
  void ShowNothing() override;

  bool HasFrame() const { return !picture_.isNull(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int DevicePixels(int points) const { return qRound(points * devicePixelRatioF()); }

  QImage picture_;
};

}  // namespace sonvarro
