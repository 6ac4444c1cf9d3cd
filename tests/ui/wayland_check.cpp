// The program on a Wayland compositor, driven as a user would drive it:
// scripts/wayland-check.sh starts Weston headless and runs this with
// QT_QPA_PLATFORM=wayland. It builds the program's own root with the real
// file dialog and the real encoder, and drives the real windows from inside
// (a headless compositor has no pointer or keyboard of its own), and checks
// what the compositor shows through its screenshots (weston-screenshooter):
// the skin without its transparent colour, and no window once minimised.
// Only the desktop is a seam: no file browser opens and the machine is never
// powered off.

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>

#include "RecordingDesktop.h"
#include "SilentWav.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "app/AppRoot.h"
#include "sourcerows/SourceItem.h"
#include "ui/Skin.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;
using test::WaitUntil;

// What the compositor shows now, taken by its screenshot client into the
// folder the script names, kept under the given name.
std::optional<QImage> Screenshot(const QString& name) {
  QDir shots(QString::fromLocal8Bit(qgetenv("SONVARRO_SHOT_DIR")));
  for (const QString& old : shots.entryList({QStringLiteral("wayland-screenshot*.png")})) shots.remove(old);
  QProcess shooter;
  shooter.setWorkingDirectory(shots.path());
  shooter.start(QStringLiteral("weston-screenshooter"), {});
  if (!WaitUntil([&] { return shooter.state() == QProcess::NotRunning; })) return std::nullopt;
  const QStringList taken = shots.entryList({QStringLiteral("wayland-screenshot*.png")});
  if (shooter.exitCode() != 0 || taken.size() != 1) return std::nullopt;
  shots.remove(name);
  shots.rename(taken.first(), name);
  QImage shot(shots.filePath(name));
  if (shot.isNull()) return std::nullopt;
  return shot;
}

int CountOf(const QImage& shot, QRgb colour);

// Screenshots until one shows what is expected: the compositor draws the
// windows' new contents at its own pace.
std::optional<QImage> ScreenshotShowing(const QString& name, const std::function<bool(const QImage&)>& expected) {
  std::optional<QImage> shot;
  WaitUntil(
      [&] {
        shot = Screenshot(name);
        return shot && expected(*shot);
      },
      std::chrono::seconds(20));
  return shot;
}

int CountOf(const QImage& shot, QRgb colour) {
  int count = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) count += (shot.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
  }
  return count;
}

bool OwnedBy(QWidget* dialog, QWidget* owner) {
  return dialog->windowHandle() && dialog->windowHandle()->transientParent() == owner->windowHandle();
}

class OnWayland : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland")) << "the check runs on a Wayland compositor";
    test::LayOutAppFolder(app.Folder());
    source = test::WriteSilentWav(media.Folder() + "a tune's «take» 1.wav", 4000);
    AppSeams seams;
    seams.appFolder = app.Folder();
    seams.dataFolder = app.Folder();
    seams.desktop = &desktop;
    seams.timings = test::kShortJobPauses;
    seams.previewAudioOutput = "null";
    seams.quitApplication = [] {};
    root.emplace(std::move(seams));
  }

  MainWindow& Main() { return root->MainWindowSkin(); }
  MainWindowWidgets& w() { return Main().Widgets(); }

  test::RecordingDesktop desktop;
  test::TempDir app, media, out;
  std::string source;
  std::optional<AppRoot> root;
};

TEST_F(OnWayland, ShowsTheSkinAddsThroughTheOpenDialogPlaysConvertsAndMinimises) {
  // The splash, while start-up runs inside it: the compositor has shown it.
  bool splashShown = false;
  QTimer::singleShot(300, [&] {
    splashShown = WaitUntil([] {
      const QWidget* splash = QApplication::activeModalWidget();
      return splash && splash->objectName() == QStringLiteral("TFrmFlashForm") && splash->windowHandle() &&
             splash->windowHandle()->isExposed();
    });
  });
  root->Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Main()));
  EXPECT_TRUE(splashShown);

  // The outline is drawn: the picture's transparent colour shows nowhere.
  EXPECT_TRUE(Main().testAttribute(Qt::WA_TranslucentBackground));
  // The dialogs belong to the main window: the compositor keeps them over it.
  w().btnOptions->click();
  ASSERT_TRUE(WaitUntil([&] { return root->OptionsDialogSkin().isVisible(); }));
  EXPECT_TRUE(OwnedBy(&root->OptionsDialogSkin(), &Main()));
  root->OptionsDialogSkin().close();

  // Adding a file through the open dialog: its name in the dialog's field,
  // then its Open button. (Typed keys would need a keyboard, which a headless
  // compositor has not.)
  bool dialogOwned = false;
  QTimer typing;
  QObject::connect(&typing, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || dialog->objectName() != QStringLiteral("dlgOpenSourceFile")) return;
    typing.stop();
    dialogOwned = OwnedBy(dialog, &Main());
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (!name || !buttons || !buttons->button(QDialogButtonBox::Open)) return dialog->reject();
    name->setText(QString::fromStdString(source));
    QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
  });
  typing.start(100);
  w().btnOpenFile->click();
  ASSERT_TRUE(WaitUntil([&] { return Main().Grid().RowCount() == 1 && !root->AddFilesPopupSkin().isVisible(); }));
  EXPECT_TRUE(dialogOwned);
  EXPECT_EQ(Main().Grid().Cell(0, kColFileName), source);

  // The preview plays the row.
  const QRect cell = Main().Grid().visualRect(Main().Grid().model()->index(0, kColFileName));
  QTest::mouseClick(Main().Grid().viewport(), Qt::LeftButton, {}, cell.center());
  w().btnPlay->click();
  EXPECT_TRUE(WaitUntil([&] { return w().pnlCurTime->text() != QStringLiteral("00:00:00"); }));
  w().btnStop->click();

  // Converting it with the real encoder.
  w().outputFolder.SetText(out.Folder());
  w().btnConvert->click();
  ASSERT_TRUE(WaitUntil([&] { return !root->ProgressWindowSkin().isVisible() && Main().isEnabled(); }));
  bool converted = false;
  for (const auto& entry : fs::directory_iterator(out.Path())) converted |= fs::file_size(entry.path()) > 0;
  EXPECT_TRUE(converted) << "an output file in " << out.Folder();

  // The skin as the compositor shows it, once it has faded out the progress
  // window (Weston's shell fades a closed window out).
  test::LetTimePass(std::chrono::milliseconds(1500));
  const QImage convert = SkinImage("ConvertUp.bmp", SkinScaleFor(Main().devicePixelRatioF()));
  const QRgb orange = convert.pixel(convert.width() * 3 / 4, convert.height() / 2);
  const std::optional<QImage> shown = ScreenshotShowing(QStringLiteral("main-window.png"),
                                                        [&](const QImage& shot) { return CountOf(shot, orange) > 20; });
  ASSERT_TRUE(shown);
  EXPECT_GT(CountOf(*shown, orange), 20) << "the Convert button shows";
  EXPECT_EQ(CountOf(*shown, w().Background().pixel(0, w().Background().height() - 1)), 0)
      << "the picture's transparent colour is drawn transparent";

  // Minimised, the compositor shows the window no more.
  w().btnWindowMinimize->click();
  const std::optional<QImage> gone = ScreenshotShowing(QStringLiteral("minimised.png"),
                                                       [&](const QImage& shot) { return CountOf(shot, orange) == 0; });
  ASSERT_TRUE(gone);
  EXPECT_EQ(CountOf(*gone, orange), 0) << "the window is still shown";
}

}  // namespace
}  // namespace sonvarro
