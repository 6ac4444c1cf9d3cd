// The main window moving between two screens of different scales: the
// pictures it shows follow the screen it is on. A program of its own: the
// screens are the offscreen platform's, set before the application starts.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "ui/MainWindow.h"
#include "ui/Skin.h"

namespace sonvarro {
namespace {

// Side by side: a screen of 100 % on the left, one of 200 % on the right.
constexpr char kScreens[] = R"({"screens": [
  {"name": "plain", "x": 0, "y": 0, "width": 1200, "height": 900, "dpr": 1},
  {"name": "dense", "x": 1200, "y": 0, "width": 1200, "height": 900, "dpr": 2}]})";

QScreen* ScreenNamed(const char* name) {
  for (QScreen* screen : QGuiApplication::screens()) {
    if (screen->name() == QLatin1String(name)) return screen;
  }
  return nullptr;
}

class ScreenChange : public testing::Test {
 protected:
  void SetUp() override {
    window_.move(40, 30);
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    ASSERT_EQ(window_.devicePixelRatioF(), 1);
  }
  testing::AssertionResult MoveTo(const char* screenName, qreal ratio) {
    QScreen* screen = ScreenNamed(screenName);
    if (!screen) return testing::AssertionFailure() << "no screen " << screenName;
    window_.windowHandle()->setScreen(screen);
    window_.move(screen->geometry().topLeft() + QPoint(40, 30));
    if (!QTest::qWaitFor([&] { return window_.devicePixelRatioF() == ratio; })) {
      return testing::AssertionFailure() << "the window's ratio stayed " << window_.devicePixelRatioF();
    }
    return testing::AssertionSuccess();
  }
  MainWindowWidgets& w() { return window_.Widgets(); }

  MainWindow window_;
};

TEST_F(ScreenChange, TheLogoAndTheButtonsShowThePictureOfTheNewScale) {
  auto* convert = static_cast<BitmapButton*>(w().btnConvert);
  for (const auto& [screen, ratio] : {std::pair{"dense", 2}, std::pair{"plain", 1}}) {
    SCOPED_TRACE(screen);
    ASSERT_TRUE(MoveTo(screen, ratio));
    const QPixmap logo = w().imgLOGO->pixmap();
    EXPECT_EQ(logo.devicePixelRatio(), ratio);
    EXPECT_EQ(logo.size(), w().imgLOGO->size() * ratio);
    EXPECT_EQ(convert->Current().size(), convert->size() * ratio);
  }
}

TEST_F(ScreenChange, TheOutlineStaysTheWindowsMaskInPoints) {
  // The offscreen platform, as a Wayland compositor, takes a mask in points.
  ASSERT_TRUE(MoveTo("dense", 2));
  EXPECT_EQ(window_.mask(), OutlineRegion(w().Background(1)));
}

}  // namespace
}  // namespace sonvarro

int main(int argc, char** argv) {
  const QString screens = QDir::temp().filePath(QStringLiteral("sonvarro-screens-%1.json").arg(getpid()));
  QFile file(screens);
  if (!file.open(QIODevice::WriteOnly) || file.write(sonvarro::kScreens) < 0) return 1;
  file.close();
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens).toUtf8());
  int result = 0;
  {
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
  }
  QFile::remove(screens);
  return result;
}
