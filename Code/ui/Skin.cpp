#include "ui/Skin.h"

#include <QEnterEvent>
#include <QPainter>
#include <QPixmap>

#include "services/WindowOutline.h"
#include "ui/SkinPictures.h"

namespace sonvarro {
namespace {

void ClearColour(QImage& picture, QRgb colour) {
  picture = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      if ((line[x] & 0xffffff) == (colour & 0xffffff)) line[x] = 0;
    }
  }
}

// Olive pixels let the window show through.
ScaledPicture ButtonPicture(const char* pictures, const char* state) {
  const std::string fileName = std::string(pictures) + state + ".bmp";
  return ScaledPicture(fileName.c_str()).Each([](QImage& picture) { ClearColour(picture, kButtonTransparent); });
}

}  // namespace

void ClearTransparentColour(QImage& picture) {
  if (!picture.isNull()) ClearColour(picture, picture.pixel(0, picture.height() - 1));
}

int SkinScaleFor(qreal devicePixelRatio) { return devicePixelRatio > 1 ? 2 : 1; }

QImage SkinImage(const char* fileName, int scale) {
  const SkinPicture* picture = FindSkinPicture(fileName, scale);
  if (!picture) return {};
  QImage image = QImage::fromData(picture->bytes, static_cast<int>(picture->size));
  image.setDevicePixelRatio(scale);
  return image;
}

ScaledPicture::ScaledPicture(const char* fileName) : one_(SkinImage(fileName, 1)), two_(SkinImage(fileName, 2)) {}

QRegion OutlineRegion(const QImage& background) {
  const QImage rgb = background.convertToFormat(QImage::Format_RGB888);
  Picture picture;
  picture.width = rgb.width();
  picture.height = rgb.height();
  picture.rgb.reserve(static_cast<size_t>(rgb.width()) * rgb.height() * 3);
  for (int y = 0; y < rgb.height(); ++y) {
    const uchar* line = rgb.constScanLine(y);
    picture.rgb.insert(picture.rgb.end(), line, line + rgb.width() * 3);
  }
  QRegion region;
  for (const OutlineRun& run : OutlineRuns(picture)) region += QRect(run.left, run.top, run.width, 1);
  return region;
}

QRegion DeviceOutlineRegion(const QImage& fitting, qreal devicePixelRatio) {
  const QSizeF points = fitting.deviceIndependentSize();
  const QSize device(qRound(points.width() * devicePixelRatio), qRound(points.height() * devicePixelRatio));
  if (device == fitting.size()) return OutlineRegion(fitting);
  // The nearest pixel, never a blend: a blended edge pixel would differ from
  // the transparent colour and widen the outline.
  return OutlineRegion(fitting.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

PictureLabel::PictureLabel(const char* fileName, QWidget* parent) : QLabel(parent), picture_(fileName) {
  setScaledContents(true);
  ShowFittingPicture();
}

bool PictureLabel::event(QEvent* event) {
  const bool handled = QLabel::event(event);
  if (event->type() == QEvent::ScreenChangeInternal) ShowFittingPicture();
  return handled;
}

void PictureLabel::ShowFittingPicture() {
  const QImage& fitting = picture_.For(devicePixelRatioF());
  if (!pixmap().isNull() && pixmap().devicePixelRatio() == fitting.devicePixelRatio()) return;
  setPixmap(QPixmap::fromImage(fitting));
}

BitmapButton::BitmapButton(const char* pictures, const QString& text, QWidget* parent)
    : QPushButton(text, parent),
      up_(ButtonPicture(pictures, "Up")),
      hot_picture_(ButtonPicture(pictures, "Hot")),
      down_(ButtonPicture(pictures, "Down")) {
  setAutoDefault(false);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
}

const QImage& BitmapButton::Current() const {
  const qreal ratio = devicePixelRatioF();
  if (isDown()) return down_.For(ratio);
  if (hot_ && isEnabled()) return hot_picture_.For(ratio);
  return up_.For(ratio);
}

void BitmapButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Between the scales (150 %) the sharper picture is drawn down.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (!isEnabled()) painter.setOpacity(0.45);
  painter.drawImage(rect(), Current());
}

void BitmapButton::enterEvent(QEnterEvent* event) {
  QPushButton::enterEvent(event);
  hot_ = true;
  update();
}

void BitmapButton::leaveEvent(QEvent* event) {
  QPushButton::leaveEvent(event);
  hot_ = false;
  update();
}

}  // namespace sonvarro
