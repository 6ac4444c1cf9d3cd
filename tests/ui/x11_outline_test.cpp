// The main window's outline as the X server holds it, read back from the
// server: cut in device pixels from the picture that fits the scale. A
// program of its own: it runs on an X server of its own
// (tests/helpers/on-x-server.sh), whose screen it splits into two monitors
// side by side before it starts: the window opens on the first, at the scale
// its argument --scale=N (1 or 2) gives, and the second has the other scale.

#include <gtest/gtest.h>
#include <xcb/randr.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/MainWindow.h"
#include "ui/Skin.h"

namespace sonvarro {
namespace {

int scale = 1;
int OtherScale() { return 3 - scale; }
constexpr char kStartMonitor[] = "START";
constexpr char kOtherMonitor[] = "OTHER";

// Splits the X server's screen into two monitors side by side, the first
// with its output; false when the server cannot. The server keeps them
// while the connection stays open.
bool SplitIntoMonitors(xcb_connection_t* connection) {
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  // Monitors came with version 1.5 of the extension.
  std::free(xcb_randr_query_version_reply(connection, xcb_randr_query_version(connection, 1, 5), nullptr));
  xcb_randr_get_screen_resources_current_reply_t* resources = xcb_randr_get_screen_resources_current_reply(
      connection, xcb_randr_get_screen_resources_current(connection, screen->root), nullptr);
  if (!resources) return false;
  const bool hasOutput = xcb_randr_get_screen_resources_current_outputs_length(resources) > 0;
  const xcb_randr_output_t output = hasOutput ? xcb_randr_get_screen_resources_current_outputs(resources)[0] : 0;
  std::free(resources);
  if (!hasOutput) return false;
  const uint16_t half = screen->width_in_pixels / 2;
  for (const char* name : {kStartMonitor, kOtherMonitor}) {
    const bool first = name == kStartMonitor;
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (!atom) return false;
    // Sent as laid out here: libxcb's own xcb_randr_set_monitor leaves the
    // padding part of its request unset. The monitor's outputs follow it.
    struct {
      xcb_randr_set_monitor_request_t header;
      xcb_randr_monitor_info_t info;
      xcb_randr_output_t outputs[1];
    } request{};
    request.header.window = screen->root;
    request.info.name = atom->atom;
    std::free(atom);
    request.info.primary = first;
    request.info.nOutput = first ? 1 : 0;
    request.info.x = static_cast<int16_t>(first ? 0 : half);
    request.info.width = half;
    request.info.height = screen->height_in_pixels;
    request.info.width_in_millimeters = screen->width_in_millimeters / 2;
    request.info.height_in_millimeters = screen->height_in_millimeters;
    request.outputs[0] = output;
    xcb_protocol_request_t protocol{1, &xcb_randr_id, XCB_RANDR_SET_MONITOR, 1};
    // libxcb writes the opcodes and the length into the two parts before.
    iovec parts[3]{};
    parts[2].iov_base = &request;
    parts[2].iov_len = sizeof(request.header) + static_cast<size_t>(xcb_randr_monitor_info_sizeof(&request.info));
    const xcb_void_cookie_t sent{xcb_send_request(connection, XCB_REQUEST_CHECKED, parts + 2, &protocol)};
    xcb_generic_error_t* error = xcb_request_check(connection, sent);
    std::free(error);
    if (error) return false;
  }
  return true;
}

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

// Moves the window on the X server itself, as a window manager or the user's
// drag does: Qt learns of it afterwards.
void MoveOnServer(const QWidget& window, const QPoint& devicePixels) {
  xcb_connection_t* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
  const uint32_t position[] = {static_cast<uint32_t>(devicePixels.x()), static_cast<uint32_t>(devicePixels.y())};
  xcb_configure_window(connection, static_cast<xcb_window_t>(window.winId()), XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y,
                       position);
  xcb_flush(connection);
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

TEST_F(X11Outline, FollowsTheWindowToAScreenOfAnotherScale) {
  QScreen* other = nullptr;
  for (QScreen* screen : QGuiApplication::screens()) {
    if (screen->name() == QLatin1String(kOtherMonitor)) other = screen;
  }
  ASSERT_NE(other, nullptr);
  QScreen* start = window_.screen();
  const QSize points = window_.size();
  for (const auto& [screen, ratio] : {std::pair{other, OtherScale()}, std::pair{start, scale}}) {
    SCOPED_TRACE(ratio);
    // A screen's origin is the same in points and in device pixels.
    MoveOnServer(window_, screen->geometry().topLeft() + QPoint(40, 30));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_.devicePixelRatioF() == ratio; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window_.size() == points; }))
        << "the window is " << window_.width() << " x " << window_.height() << " points";
    EXPECT_TRUE(SamePixels(BoundingShape(window_), OutlineRegion(Background(ratio))));
    EXPECT_EQ(window_.Widgets().imgLOGO->pixmap().devicePixelRatio(), ratio);
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
  // Left open to the end: the server forgets the monitors with their client.
  xcb_connection_t* monitors = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(monitors) || !sonvarro::SplitIntoMonitors(monitors)) {
    std::fprintf(stderr, "the X server's screen could not be split into two monitors\n");
    return 1;
  }
  qputenv("QT_SCREEN_SCALE_FACTORS", QByteArray(sonvarro::kStartMonitor) + "=" + QByteArray::number(sonvarro::scale) +
                                         ";" + sonvarro::kOtherMonitor + "=" +
                                         QByteArray::number(sonvarro::OtherScale()));
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
