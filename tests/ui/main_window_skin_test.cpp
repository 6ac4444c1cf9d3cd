// The main window's skin: its outline, its bitmap buttons and moving it by
// its background and its title without a window manager's help (the
// offscreen platform offers no move command, as a bare X server does not).

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QGuiApplication>
#include <QStyleHints>
#include <QTest>

#include "ui/MainWindow.h"
#include "ui/Skin.h"
#include "ui/SkinPictures.h"

namespace sonvarro {
namespace {

QColor At(const QImage& image, const QPoint& point) { return image.pixelColor(point); }

TEST(MainWindowSkin, IsBorderlessAndShapedLikeItsBackgroundPicture) {
  MainWindow window;
  const QImage& background = window.Widgets().Background();
  ASSERT_EQ(background.size(), QSize(686, 486));
  // A 24-bit bitmap: its header's bits a pixel.
  const SkinPicture* file = FindSkinPicture("Background.bmp");
  ASSERT_NE(file, nullptr);
  ASSERT_GT(file->size, 30u);
  EXPECT_EQ(file->bytes[28] | file->bytes[29] << 8, 24);
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(window.mask().isEmpty()) << "the outline is cut on the first show";
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QRegion outline = window.mask();
  EXPECT_EQ(outline, OutlineRegion(background));
  // The bottom-left colour is cut away, the body stays; the last column
  // never belongs to the outline, and nothing below the picture does.
  const QColor transparent = At(background, {0, 485});
  EXPECT_FALSE(outline.contains(QPoint(0, 485)));
  EXPECT_FALSE(outline.contains(QPoint(0, 0)));
  EXPECT_FALSE(outline.contains(QPoint(685, 240)));
  EXPECT_FALSE(outline.contains(QPoint(340, 500)));
  EXPECT_TRUE(outline.contains(QPoint(340, 240)));
  EXPECT_TRUE(outline.contains(QPoint(340, 484)));
  EXPECT_NE(At(background, {340, 240}), transparent);
  EXPECT_NE(At(background, {684, 240}), transparent) << "the body reaches the right edge; its last column is cut";
  // The window at its minimum size; the grid follows a larger one.
  EXPECT_EQ(window.size(), QSize(686, 519));
  window.resize(786, 569);
  EXPECT_EQ(window.Widgets().dxTreeSourceFileInfo->geometry(), QRect(22, 292, 625, 188));
  EXPECT_EQ(window.Widgets().btnConvert->geometry(), QRect(655, 391, 110, 40));
}

TEST(MainWindowSkin, EveryBitmapButtonShowsItsUpHotAndDownPictures) {
  MainWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  MainWindowWidgets& w = window.Widgets();
  struct Case {
    QPushButton* button;
    const char* pictures;
    const char* hint;
  };
  const Case cases[] = {
      {w.btnWindowMinimize, "WindowMinimize", ""},
      {w.btnWindowClose, "WindowClose", ""},
      {w.btnHomePage, "HomePage", ""},
      {w.btnEMail, "EMail", ""},
      {w.btnHelp, "Help", ""},
      {w.btnAbout, "About", ""},
      {w.btnOptions, "Options", "Ctrl + I"},
      {w.RzBmpButton1, "Browse", "Ctrl + B"},
      {w.btnOpenFile, "OpenFile", "Ctrl + O"},
      {w.btnRemoveFile, "RemoveFile", "Ctrl + R"},
      {w.btnClearFile, "ClearFile", "Ctrl + L"},
      {w.btnConvert, "Convert", "Ctrl + S"},
      {w.btnSelectOutputFolder, "Browse", "Ctrl + B"},
      {w.btnPlay, "Play", "Ctrl + P"},
      {w.btnPause, "Pause", "Ctrl + U"},
      {w.btnStop, "Stop", "Ctrl + T"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button->objectName().toStdString());
    auto* button = qobject_cast<BitmapButton*>(c.button);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), c.hint);
    const std::string name = c.pictures;
    const QImage up = SkinImage((name + "Up.bmp").c_str());
    const QImage hot = SkinImage((name + "Hot.bmp").c_str());
    const QImage down = SkinImage((name + "Down.bmp").c_str());
    ASSERT_FALSE(up.isNull() || hot.isNull() || down.isNull());
    EXPECT_EQ(up.size(), button->size());
    const QPoint centre(4, up.height() / 2 + 2);  // on the plate, clear of glyph and caption
    EXPECT_NE(At(up, centre), At(hot, centre));
    EXPECT_NE(At(up, centre), At(down, centre));
    if (!button->isVisible()) continue;  // btnSelectOutputFolder: never seen, only pressed by Ctrl+B

    EXPECT_EQ(At(button->grab().toImage(), centre), At(up, centre));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(button, &enter);
    EXPECT_TRUE(button->Hot());
    EXPECT_EQ(At(button->grab().toImage(), centre), At(hot, centre));
    button->setDown(true);
    EXPECT_EQ(At(button->grab().toImage(), centre), At(down, centre));
    button->setDown(false);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_FALSE(button->Hot());
    EXPECT_EQ(At(button->grab().toImage(), centre), At(up, centre));
  }
  // Olive is transparent: the corner of a button shows the background.
  ASSERT_EQ(At(SkinImage("ConvertUp.bmp"), {0, 0}), QColor(0x80, 0x80, 0x00));
  const QImage shown = window.grab().toImage();
  const QPoint corner = w.btnConvert->geometry().topLeft();
  EXPECT_EQ(At(shown, corner), At(w.Background(), corner));
  EXPECT_NE(At(shown, corner + QPoint(55, 10)), At(w.Background(), corner + QPoint(55, 10)));
}

// Sends the mouse to a widget as the window system would, at a place on the
// screen: the window moves under the mouse, so each event is placed anew.
void Mouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, const QPoint& global) {
  QMouseEvent event(type, widget->mapFromGlobal(QPointF(global)), QPointF(global), button, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

// Presses the left button on a widget at a point of its own, moves the mouse
// by the given distance in two steps and releases it.
void Drag(QWidget* widget, const QPoint& from, const QPoint& by) {
  const QPoint start = widget->mapToGlobal(from);
  Mouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, start);
  Mouse(widget, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + by / 2);
  Mouse(widget, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + by);
  Mouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, start + by);
}

TEST(MainWindowSkin, MovesByItsBackgroundAndItsTitleWithoutAWindowManager) {
  MainWindow window;
  window.move(100, 80);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  MainWindowWidgets& w = window.Widgets();
  // An empty spot of the background, between the preview and the links.
  const QPoint empty(330, 100);
  ASSERT_EQ(w.childAt(empty), nullptr);
  Drag(&w, empty, {40, 26});
  EXPECT_EQ(window.pos(), QPoint(140, 106));
  // A move after the release moves nothing.
  Mouse(&w, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, w.mapToGlobal(empty) + QPoint(90, 90));
  EXPECT_EQ(window.pos(), QPoint(140, 106));

  // By the title: lblTitleMouseMove follows the mouse.
  Drag(w.lblTitle, {10, 10}, {-50, 30});
  EXPECT_EQ(window.pos(), QPoint(90, 136));
  // The right button moves nothing.
  const QPoint at = w.mapToGlobal(empty);
  Mouse(&w, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, at);
  Mouse(&w, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, at + QPoint(30, 30));
  Mouse(&w, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, at + QPoint(30, 30));
  EXPECT_EQ(window.pos(), QPoint(90, 136));
}

TEST(MainWindowSkin, AClickIsNoMoveAndTheWindowManagerGetsOneMovePerDrag) {
  int systemMoves = 0;
  bool windowManager = true;
  MainWindow window(nullptr, [&] { return windowManager && (++systemMoves, true); });
  window.move(100, 80);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  MainWindowWidgets& w = window.Widgets();
  const int distance = QGuiApplication::styleHints()->startDragDistance();
  ASSERT_GE(distance, 2);

  const struct {
    const char* name;
    QWidget* widget;
    QPoint at;
  } places[] = {{"background", &w, {330, 100}}, {"title", w.lblTitle, {10, 10}}, {"download link", w.Label3, {5, 5}}};
  for (const auto& place : places) {
    SCOPED_TRACE(place.name);
    systemMoves = 0;
    const QPoint start = place.widget->mapToGlobal(place.at);
    // A click, then the mouse moves with no button held: nothing moves.
    Mouse(place.widget, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, start);
    Mouse(place.widget, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, start);
    Mouse(place.widget, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, start + QPoint(60, 40));
    EXPECT_EQ(systemMoves, 0);
    EXPECT_EQ(window.pos(), QPoint(100, 80));

    // Held, but not yet the drag distance away: still a click.
    Mouse(place.widget, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, start);
    Mouse(place.widget, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + QPoint(distance - 1, 0));
    EXPECT_EQ(systemMoves, 0);
    // Further: the window manager takes the move, once for the whole drag.
    Mouse(place.widget, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + QPoint(distance, 0));
    Mouse(place.widget, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + QPoint(distance + 20, 0));
    EXPECT_EQ(systemMoves, 1);
    // Its release went to the window manager; later moves start nothing.
    Mouse(place.widget, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, start + QPoint(90, 0));
    Mouse(place.widget, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + QPoint(120, 0));
    EXPECT_EQ(systemMoves, 1);
    EXPECT_EQ(window.pos(), QPoint(100, 80));
  }

  // Without a window manager the window follows from the drag distance on,
  // keeping the press point under the mouse, until the release.
  windowManager = false;
  const QPoint start = w.lblTitle->mapToGlobal(QPoint(10, 10));
  Mouse(w.lblTitle, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, start);
  Mouse(w.lblTitle, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + QPoint(0, distance - 1));
  EXPECT_EQ(window.pos(), QPoint(100, 80));
  Mouse(w.lblTitle, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + QPoint(30, 20));
  EXPECT_EQ(window.pos(), QPoint(130, 100));
  Mouse(w.lblTitle, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, start + QPoint(30, 20));
  Mouse(w.lblTitle, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + QPoint(90, 90));
  EXPECT_EQ(window.pos(), QPoint(130, 100));
}

}  // namespace
}  // namespace sonvarro
