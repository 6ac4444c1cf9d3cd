// The main window's outline as the X server holds it, read back from the
// server: cut in device pixels from the picture that fits the scale. A
// program of its own: it runs on an X server of its own
// (tests/helpers/on-x-server.sh), at the scale its argument --scale=N sets
// before it starts.

#include <gtest/gtest.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <cstring>

#include "ui/MainWindow.h"
#include "ui/Skin.h"

namespace sonvarro {
namespace {

int scale = 1;

// The window's bounding shape, in device pixels.
QRegion BoundingShape(const QWidget& window) {
  xcb_connection_t* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
  const auto id = static_cast<xcb_window_t>(window.winId());
  xcb_shape_get_rectangles_reply_t* reply = xcb_shape_get_rectangles_reply(
      connection, xcb_shape_get_rectangles(connection, id, XCB_SHAPE_SK_BOUNDING), nullptr);
  QRegion shape;
  if (!reply) return shape;
  const xcb_rectangle_t* rectangles = xcb_shape_get_rectangles_rectangles(reply);
  for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply); ++i) {
    shape += QRect(rectangles[i].x, rectangles[i].y, rectangles[i].width, rectangles[i].height);
  }
  std::free(reply);
  return shape;
}

// The two regions cover the same pixels; else where they part is named.
testing::AssertionResult SamePixels(const QRegion& got, const QRegion& want) {
  const QRegion differ = got.xored(want);
  if (differ.isEmpty()) return testing::AssertionSuccess();
  const QRect within = differ.boundingRect();
  return testing::AssertionFailure() << "they differ in " << differ.rectCount() << " rectangles within (" << within.x()
                                     << ", " << within.y() << ", " << within.width() << " x " << within.height() << ")";
}

// A region in points as a mask in points covers the device pixels at 200 %.
QRegion Doubled(const QRegion& points) {
  QRegion pixels;
  for (const QRect& rect : points) pixels += QRect(rect.topLeft() * 2, rect.size() * 2);
  return pixels;
}

// Some edge of the region lies between two points (an odd pixel), which no
// mask in points can cut at 200 %.
bool HasEdgesBetweenPoints(const QRegion& region) {
  for (const QRect& rect : region) {
    if (rect.x() % 2 || rect.width() % 2 || rect.y() % 2 || rect.height() % 2) return true;
  }
  return false;
}

class X11Outline : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), QLatin1String("xcb"));
    window_.move(40, 30);
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    ASSERT_EQ(window_.devicePixelRatioF(), scale);
  }
  const QImage& Background(int pictureScale) { return window_.Widgets().Background(pictureScale); }

  MainWindow window_;
};

TEST_F(X11Outline, IsCutFromThePictureThatFitsInDevicePixels) {
  const QRegion shape = BoundingShape(window_);
  EXPECT_TRUE(SamePixels(shape, OutlineRegion(Background(scale))));
  if (scale == 2) {
    // Not what a mask in points gives: the sharper picture's corners and
    // emblem step by one pixel where the coarser one's step by two.
    EXPECT_FALSE(SamePixels(shape, Doubled(OutlineRegion(Background(1)))));
    EXPECT_TRUE(HasEdgesBetweenPoints(shape));
  }
}

TEST_F(X11Outline, OutlastsHidingAndShowingAgain) {
  const QRegion shown = BoundingShape(window_);
  window_.hide();
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  EXPECT_TRUE(SamePixels(BoundingShape(window_), shown));
}

}  // namespace
}  // namespace sonvarro

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--scale=", 8) == 0) sonvarro::scale = std::atoi(argv[i] + 8);
  }
  qputenv("QT_SCALE_FACTOR", QByteArray::number(sonvarro::scale));
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
