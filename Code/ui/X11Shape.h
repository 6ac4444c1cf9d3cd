#pragma once

#include <QRegion>
#include <QWidget>

namespace sonvarro {

// A top-level window's shape on an X server, in its device pixels.
// QWidget::setMask takes points, so at 200 % the shape it sets steps by two
// pixels where the picture it is cut from has a finer edge.

// True when the windows are on an X server (the xcb platform) that can shape
// them.
bool X11CanShape();

// Sets the window's bounding shape, which also bounds where it takes the
// mouse. Qt never sets it again unless the widget is given a mask: the
// caller clears the widget's mask first.
void SetX11Shape(QWidget& window, const QRegion& devicePixels);

}  // namespace sonvarro
