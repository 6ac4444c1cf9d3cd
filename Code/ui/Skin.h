#pragma once

#include <QImage>
#include <QPushButton>
#include <QRegion>

namespace sonvarro {

// The colour the bitmap buttons' pictures are transparent in.
inline constexpr QRgb kButtonTransparent = 0x808000;  // olive

// A picture of the skin (see SkinPictures.h); a null image when the build
// drew none of that name.
QImage SkinImage(const char* fileName);

// The window outline of a background picture: the union of its runs that
// differ from its bottom-left colour (OutlineRuns).
QRegion OutlineRegion(const QImage& background);

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
  // The picture the button shows now.
  const QImage& Current() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage up_, hot_picture_, down_;
  bool hot_ = false;
};

}  // namespace sonvarro
