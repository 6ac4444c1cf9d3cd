#include "ui/X11Shape.h"

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <vector>

namespace sonvarro {
namespace {

xcb_connection_t* X11Connection() {
  // The offscreen platform may also answer for an X display it draws with;
  // its windows are none of that display's.
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

}  // namespace

bool X11CanShape() {
  xcb_connection_t* connection = X11Connection();
  if (!connection) return false;
  const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
  return shape && shape->present;
}

void SetX11Shape(QWidget& window, const QRegion& devicePixels) {
  xcb_connection_t* connection = X11Connection();
  if (!connection) return;
  std::vector<xcb_rectangle_t> rectangles;
  rectangles.reserve(static_cast<size_t>(devicePixels.rectCount()));
  for (const QRect& rect : devicePixels) {
    rectangles.push_back({static_cast<int16_t>(rect.x()), static_cast<int16_t>(rect.y()),
                          static_cast<uint16_t>(rect.width()), static_cast<uint16_t>(rect.height())});
  }
  const auto id = static_cast<xcb_window_t>(window.winId());
  xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED, id, 0, 0,
                       static_cast<uint32_t>(rectangles.size()), rectangles.data());
  xcb_flush(connection);
}

}  // namespace sonvarro
