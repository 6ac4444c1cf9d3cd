// The main window on a screen of 200 %: the skin shows its pictures drawn at
// twice the pixels, pixel for pixel, and every control keeps its place in
// points. A program of its own: the scale is the application's, set before
// it starts.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <set>
#include <vector>

#include "ui/FlashWindow.h"
#include "ui/MainWindow.h"
#include "ui/Skin.h"

namespace sonvarro {
namespace {

constexpr int kScale = 2;

// Where the picture is opaque, the shown pixels are the picture's, exactly;
// the first pixel that is not is named.
testing::AssertionResult ShowsPixelForPixel(const QImage& shown, const QPoint& at, const QImage& picture) {
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb want = picture.pixel(x, y);
      if (qAlpha(want) != 255) continue;
      const QRgb got = shown.pixel(at.x() + x, at.y() + y);
      if (got != want) {
        return testing::AssertionFailure()
               << "pixel (" << x << ", " << y << ") of the picture is " << std::hex << got << ", not " << want;
      }
    }
  }
  return testing::AssertionSuccess();
}

// The sharp picture has no in-between colours where the coarse one stretched
// to its size would have them: at least one opaque pixel of the area shows,
// stretched, a colour the sharp picture has nowhere in the area. Without it a
// pixel-for-pixel match would prove nothing.
testing::AssertionResult NotTheCoarseStretched(const QImage& sharp, const QImage& coarse, const QRect& area) {
  std::set<QRgb> colours;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qAlpha(sharp.pixel(x, y)) == 255) colours.insert(sharp.pixel(x, y) | 0xff000000);
    }
  }
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb stretched = coarse.pixel(x / kScale, y / kScale) | 0xff000000;
      if (qAlpha(sharp.pixel(x, y)) == 255 && !colours.count(stretched)) return testing::AssertionSuccess();
    }
  }
  return testing::AssertionFailure() << "the coarse picture stretched has the sharp one's colours only";
}

QImage Opaque(QImage picture) {
  ClearTransparentColour(picture);
  return picture;
}

class HighDensity : public testing::Test {
 protected:
  void SetUp() override {
    window_.move(40, 30);
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    ASSERT_EQ(window_.devicePixelRatioF(), kScale);
    shown_ = window_.grab().toImage();
    ASSERT_EQ(shown_.size(), QSize(686, 519) * kScale);
  }
  MainWindowWidgets& w() { return window_.Widgets(); }

  MainWindow window_;
  QImage shown_;
};

TEST_F(HighDensity, EveryControlKeepsItsPlaceInPoints) {
  EXPECT_EQ(window_.size(), QSize(686, 519));
  const std::pair<QWidget*, QRect> places[] = {
      {w().lblTitle, {63, 32, 537, 27}},
      {w().btnWindowMinimize, {606, 28, 25, 25}},
      {w().btnWindowClose, {640, 28, 25, 25}},
      {w().btnHomePage, {406, 73, 48, 48}},
      {w().btnEMail, {459, 73, 48, 48}},
      {w().btnHelp, {565, 73, 48, 48}},
      {w().btnAbout, {618, 73, 48, 48}},
      {w().Panel1, {22, 234, 260, 19}},
      {w().cbbOutputFiletype, {368, 133, 297, 21}},
      {w().cbbProfile, {368, 160, 217, 21}},
      {w().btnOptions, {595, 160, 70, 20}},
      {w().edtOutputFolder, {368, 188, 217, 21}},
      {w().RzBmpButton1, {595, 188, 70, 20}},
      {w().chkShutdown, {294, 226, 300, 17}},
      {w().chkShowOutputDirectory, {294, 246, 300, 17}},
      {w().Label3, {296, 272, 200, 16}},
      {w().dxTreeSourceFileInfo, {22, 292, 525, 138}},
      {w().btnOpenFile, {555, 289, 110, 30}},
      {w().btnRemoveFile, {555, 323, 110, 30}},
      {w().btnClearFile, {555, 357, 110, 30}},
      {w().btnConvert, {555, 391, 110, 40}},
  };
  for (const auto& [widget, place] : places) {
    SCOPED_TRACE(widget->objectName().toStdString());
    EXPECT_EQ(widget->geometry(), place);
    // Nothing drawn by the control reaches past its place.
    EXPECT_EQ(widget->grab().size(), place.size() * kScale);
  }
}

TEST_F(HighDensity, TheButtonsShowTheirSharpPicturesPixelForPixel) {
  const std::pair<QPushButton*, const char*> buttons[] = {
      {w().btnWindowClose, "WindowCloseUp.bmp"}, {w().btnHelp, "HelpUp.bmp"},       {w().btnOptions, "OptionsUp.bmp"},
      {w().btnOpenFile, "OpenFileUp.bmp"},       {w().btnConvert, "ConvertUp.bmp"}, {w().btnPlay, "PlayUp.bmp"},
  };
  for (const auto& [button, picture] : buttons) {
    SCOPED_TRACE(picture);
    const QImage& sharp = static_cast<BitmapButton*>(button)->Current();
    ASSERT_EQ(sharp.size(), button->size() * kScale) << "the picture drawn at twice the pixels";
    // The window's pixels over the whole button, its rounded edge with them.
    EXPECT_TRUE(ShowsPixelForPixel(shown_, button->geometry().topLeft() * kScale, sharp));
    EXPECT_TRUE(NotTheCoarseStretched(sharp, SkinImage(picture, 1), sharp.rect()));
  }
}

TEST_F(HighDensity, TheOutlineIsTheSharpPicturesAtItsCorners) {
  const QImage sharp = Opaque(w().Background(kScale));
  const QImage coarse = Opaque(w().Background(1));
  ASSERT_EQ(sharp.size(), coarse.size() * kScale);
  // The rounded bottom-left corner and the emblem's edge over the top band.
  for (const QRect corner : {QRect(0, 440, 40, 46), QRect(0, 0, 70, 30)}) {
    const QRect pixels(corner.topLeft() * kScale, corner.size() * kScale);
    EXPECT_TRUE(ShowsPixelForPixel(shown_, pixels.topLeft(), sharp.copy(pixels)));
    EXPECT_TRUE(NotTheCoarseStretched(sharp, coarse, pixels));
  }
  // The logo over the video area is the sharp one too.
  const QPixmap logo = w().imgLOGO->pixmap();
  EXPECT_EQ(logo.devicePixelRatio(), kScale);
  EXPECT_EQ(logo.size(), w().imgLOGO->size() * kScale);
}

TEST_F(HighDensity, TheVideoAreaAsksForAndShowsPicturesInTheScreensPixels) {
  VideoWindow& area = *w().DSVideoWindowEx1;
  ASSERT_EQ(area.Width(), 253 * kScale);
  ASSERT_EQ(area.Height(), 152 * kScale);
  // Lines one pixel apart, as a picture rendered at that size may have them.
  QImage lines(area.Width(), area.Height(), QImage::Format_RGB32);
  for (int y = 0; y < lines.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(lines.scanLine(y));
    for (int x = 0; x < lines.width(); ++x) line[x] = x % 2 ? 0xffffffff : 0xff000000;
  }
  area.ShowFrame({lines.width(), lines.height(), static_cast<size_t>(lines.bytesPerLine()), lines.constBits()});
  EXPECT_TRUE(ShowsPixelForPixel(area.grab().toImage(), {0, 0}, lines));
}

TEST(HighDensitySplash, ShowsItsSharpPicturePixelForPixelAtItsSizeInPoints) {
  // Stripes one pixel wide at twice the pixels; the first picture is flat.
  const int width = 40, height = 24;
  const std::vector<uint8_t> flat(width * height * 3, 0x80);
  std::vector<uint8_t> stripes;
  for (int y = 0; y < height * kScale; ++y) {
    for (int x = 0; x < width * kScale; ++x) stripes.insert(stripes.end(), 3, x % 2 ? 0xff : 0x00);
  }
  FlashWindow splash;
  splash.SetPicture(width, height, flat.data());
  splash.SetSharpPicture(width * kScale, height * kScale, stripes.data());
  splash.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
  EXPECT_EQ(splash.size(), QSize(width, height));
  const QImage sharp(stripes.data(), width * kScale, height * kScale, width * kScale * 3, QImage::Format_RGB888);
  EXPECT_TRUE(ShowsPixelForPixel(splash.grab().toImage(), {0, 0}, sharp.convertToFormat(QImage::Format_ARGB32)));
}

}  // namespace
}  // namespace sonvarro

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", QByteArray::number(sonvarro::kScale));
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
