#pragma once

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegion>

namespace sonvarro {

// The colour the bitmap buttons' pictures are transparent in.
inline constexpr QRgb kButtonTransparent = 0x808000;  // olive

// The scale of the skin's pictures that fits a device pixel ratio: 2 above 1,
// so a screen at 150 % shows the picture of scale 2 drawn down, never the one
// of scale 1 drawn up.
int SkinScaleFor(qreal devicePixelRatio);

// A picture of the skin (see SkinPictures.h) at a scale, its device pixel
// ratio set to that scale, so it is drawn at its size in points; a null image
// when the build drew none of that name.
QImage SkinImage(const char* fileName, int scale = 1);

// A picture of the skin at each scale the build drew it.
class ScaledPicture {
 public:
  ScaledPicture() = default;
  explicit ScaledPicture(const char* fileName);
  // Applies a change of pixels (the same one) to the picture at each scale.
  template <typename Change>
  ScaledPicture& Each(Change change) {
    change(one_);
    change(two_);
    return *this;
  }
  // The picture that fits a device pixel ratio (SkinScaleFor).
  const QImage& For(qreal devicePixelRatio) const { return SkinScaleFor(devicePixelRatio) == 2 ? two_ : one_; }

 private:
  QImage one_, two_;
};

// The picture with every pixel of the colour at its bottom left (its
// transparent colour) made transparent.
void ClearTransparentColour(QImage& picture);

// The window outline of a background picture, in its pixels: the union of
// its runs that differ from its bottom-left colour (OutlineRuns).
QRegion OutlineRegion(const QImage& background);

// The window outline in device pixels at a device pixel ratio, cut from the
// picture that fits that ratio (its own device pixel ratio set, as SkinImage
// sets it) as it covers the window's device pixels: at 200 % the picture of
// scale 2 pixel for pixel; between the scales that picture brought to the
// device size, each device pixel taking the picture's pixel it falls on.
QRegion DeviceOutlineRegion(const QImage& fitting, qreal devicePixelRatio);

// A picture of the skin stretched over a label, at the scale that fits the
// label's screen: a move to a screen of another scale picks it again.
class PictureLabel final : public QLabel {
 public:
  PictureLabel(const char* fileName, QWidget* parent);

 protected:
  bool event(QEvent* event) override;

 private:
  void ShowFittingPicture();

  ScaledPicture picture_;
};

// A button that is its pictures: up, hot while the mouse is over it, down
// while pressed; olive pixels let the window show through. A disabled
// button shows its up picture faded. Its text is kept for the keyboard's
// and the tests' sake but drawn only by the pictures.
class BitmapButton final : public QPushButton {
  Q_OBJECT
 public:
  // pictures: the name the three pictures share, "Convert" for
  // ConvertUp.bmp, ConvertHot.bmp and ConvertDown.bmp.
  BitmapButton(const char* pictures, const QString& text, QWidget* parent);

  bool Hot() const { return hot_; }
  // The picture the button shows now, at the scale that fits its screen.
  const QImage& Current() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  ScaledPicture up_, hot_picture_, down_;
  bool hot_ = false;
};

}  // namespace sonvarro
