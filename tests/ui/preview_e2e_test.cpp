// The preview end to end: generated videos added to the list as a user adds
// them and played in the main window's video area with its buttons, its
// keys, the trim handles and the end of the file; libmpv plays without sound.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Ffmpeg.h"
#include "LogMessages.h"
#include "RecordingDesktop.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "WatchedGraph.h"
#include "app/AppRoot.h"
#include "player/PositionTrackBar.h"
#include "shell/PreviewPlayback.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;

using namespace std::chrono_literals;
using test::LetTimePass;
using test::WaitUntil;

// A whole tick of the display's timer and a little more: whatever of the
// player still ran would move the display within it.
constexpr auto kOneDisplayTick = std::chrono::milliseconds(PositionTrackBar::kTimerInterval) + 200ms;

// What the video area shows on screen at x on its middle row, near colour
// (the picture went through a lossy codec).
bool ShowsAt(QWidget& area, int x, QColor colour) {
  const QColor seen = area.grab().toImage().pixelColor(x, area.height() / 2);
  return std::abs(seen.red() - colour.red()) < 40 && std::abs(seen.green() - colour.green()) < 40 &&
         std::abs(seen.blue() - colour.blue()) < 40;
}

class PreviewEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    test::LayOutAppFolder(app.Folder());  // the splash shows for real
    pattern = media.Folder() + "pattern.mp4";
    ASSERT_TRUE(test::WritePatternVideo(pattern));
    other = media.Folder() + "other.mp4";
    fs::copy_file(pattern, other);

    AppSeams seams = test::TestAppSeams(app.Folder(), desktop, dialogs);
    seams.previewAudioOutput = "null";
    seams.quitApplication = [] {};
    seams.wrapPreviewGraph = test::WatchedGraph::Into(preview);
    root.emplace(std::move(seams));
    root->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&root->MainWindowSkin()));
  }

  testing::AssertionResult Add(const std::vector<std::string>& paths) {
    dialogs.openSourceFiles = [paths](const std::string&) { return paths; };
    w().btnOpenFile->click();
    if (!WaitUntil([&] { return !root->AddFilesPopupSkin().isVisible(); }))
      return testing::AssertionFailure() << "the files are still being added";
    QCoreApplication::processEvents();
    return testing::AssertionSuccess();
  }
  void ClickRow(int row) {
    SourceGrid& grid = root->MainWindowSkin().Grid();
    const QRect cell = grid.visualRect(grid.model()->index(row, kColFileName));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    QCoreApplication::processEvents();
  }
  void Drag(TimelineHandleWidget* handle, int dx) {
    TimelineStrip& strip = root->MainWindowSkin().Timeline();
    const QPoint from = handle->mapTo(&strip, handle->rect().center());
    QTest::mousePress(handle, Qt::LeftButton, {}, handle->rect().center());
    QTest::mouseMove(handle, handle->mapFrom(&strip, from + QPoint(dx, 0)));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, handle->mapFrom(&strip, from + QPoint(dx, 0)));
  }

  MainWindowWidgets& w() { return root->MainWindowSkin().Widgets(); }
  std::string Display() { return w().pnlCurTime->text().toStdString(); }
  const std::string& Loaded() { return root->Common().LoadedFile; }
  bool Playing() { return root->Proc().IsPlaying; }
  int64_t PositionMs() { return root->FilterGraph().CurrentPosition() / 10'000; }

  test::RecordingDesktop desktop;
  test::ScriptedDialogs dialogs;
  test::WatchedGraph* preview = nullptr;
  test::TempDir app, media;
  std::string pattern, other;
  std::optional<AppRoot> root;
};

TEST_F(PreviewEndToEnd, PlaysPausesAndStopsAtTheEndOfTheFile) {
  EXPECT_EQ(w().btnPlay->geometry(), QRect(36, 261, 25, 25));
  EXPECT_EQ(w().btnPause->geometry(), QRect(68, 261, 25, 25));
  EXPECT_EQ(w().btnStop->geometry(), QRect(99, 261, 25, 25));
  EXPECT_EQ(w().btnPlay->toolTip(), "Ctrl + P");
  EXPECT_EQ(w().btnPause->toolTip(), "Ctrl + U");
  EXPECT_EQ(w().btnStop->toolTip(), "Ctrl + T");
  EXPECT_EQ(w().panLogo->geometry(), QRect(26, 76, 253, 152));
  EXPECT_FALSE(w().panLogo->isHidden());
  EXPECT_FALSE(w().imgLOGO->pixmap().isNull());
  EXPECT_EQ(Display(), "00:00:00");
  EXPECT_TRUE(w().pbPlayState->isHidden());

  ASSERT_TRUE(Add({pattern}));
  ClickRow(0);
  w().btnPlay->click();
  EXPECT_EQ(Loaded(), pattern);
  EXPECT_TRUE(Playing());
  EXPECT_TRUE(w().panLogo->isHidden());
  VideoWindow& area = *w().DSVideoWindowEx1;
  EXPECT_TRUE(ShowsAt(area, 5, Qt::black));
  EXPECT_TRUE(ShowsAt(area, 70, Qt::red));
  EXPECT_TRUE(ShowsAt(area, 247, Qt::black));

  // The display advances once a second, and the bar with it; the picture
  // changes at 1.5 s. A loaded machine may tick late, past the first second.
  ASSERT_TRUE(WaitUntil([&] { return Display() != "00:00:00"; }));
  EXPECT_EQ(w().pbPlayState->maximum(), 3);
  EXPECT_EQ(w().pbPlayState->value(), std::stoi(Display().substr(6))) << Display();
  ASSERT_TRUE(WaitUntil([&] { return ShowsAt(area, 180, Qt::green); }));

  // Ctrl+U pauses: the position holds.
  QTest::keyClick(&root->MainWindowSkin(), Qt::Key_U, Qt::ControlModifier);
  EXPECT_FALSE(Playing());
  // The pause reaches the player's own thread a moment later: the position
  // it reports may move once more (the frame being shown) before it settles.
  ASSERT_TRUE(WaitUntil([&] {
    const int64_t before = PositionMs();
    LetTimePass(100ms);
    return PositionMs() == before;
  }));
  const int64_t held = PositionMs();
  const std::string shown = Display();
  LetTimePass(kOneDisplayTick);  // a player still running would move on meanwhile
  EXPECT_EQ(PositionMs(), held);
  EXPECT_EQ(Display(), shown);
  EXPECT_TRUE(w().panLogo->isHidden());

  // Play resumes and runs to the end of the file, which stops it.
  w().btnPlay->click();
  EXPECT_TRUE(Playing());
  ASSERT_TRUE(WaitUntil([&] { return Loaded().empty(); }));
  EXPECT_FALSE(Playing());
  EXPECT_FALSE(root->FilterGraph().Active());
  EXPECT_EQ(Display(), "00:00:00");
  EXPECT_FALSE(w().panLogo->isHidden());
  EXPECT_EQ(w().pbPlayState->value(), 0);

  // The next play loads the selected row again; Ctrl+T stops it at once.
  QTest::keyClick(&root->MainWindowSkin(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(Loaded(), pattern);
  QTest::keyClick(&root->MainWindowSkin(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_TRUE(Loaded().empty());
  EXPECT_FALSE(w().panLogo->isHidden());
  EXPECT_TRUE(test::LogMessagesStartingWith(app.Folder(), kPlayingVideoError).empty());
}

TEST_F(PreviewEndToEnd, TheTrimHandlesSeekAndTheEndMarkRewindsAndPauses) {
  // Long enough that the end mark is passed by a tick well before the end.
  const std::string longer = media.Folder() + "longer.mp4";
  ASSERT_TRUE(test::RunFfmpeg({"-f", "lavfi", "-i", "testsrc=s=320x240:r=25:d=8", "-f", "lavfi", "-i",
                               "sine=duration=8", "-c:v", "mpeg4", "-c:a", "aac", "-shortest", longer}));
  ASSERT_TRUE(Add({longer, other}));
  ClickRow(0);
  TimelineStrip& strip = root->MainWindowSkin().Timeline();
  Drag(strip.Splitter1, 55);   // about a quarter of 8 s
  Drag(strip.Splitter2, -56);  // about three quarters
  const TimelineValues& values = root->MainWindowBehaviour().Timeline().Values();
  const int start = values.PreviewStartSeconds;
  ASSERT_GE(start, 1);
  ASSERT_LE(start, 3);
  const std::string endMark = values.PreviewStopTime;
  ASSERT_GT(endMark, "00:00:0" + std::to_string(start + 1));
  ASSERT_LT(endMark, "00:00:07");

  // A load starts at the trim start.
  w().btnPlay->click();
  ASSERT_TRUE(Playing());
  EXPECT_GE(PositionMs(), start * 1000);
  EXPECT_LT(PositionMs(), start * 1000 + 500);

  // The display reaching the end mark pauses back at the trim start.
  ASSERT_TRUE(WaitUntil([&] { return !Playing(); }));
  EXPECT_EQ(Display(), endMark);
  EXPECT_EQ(Loaded(), longer);
  EXPECT_GE(PositionMs(), start * 1000 - 50);
  EXPECT_LT(PositionMs(), start * 1000 + 200);

  // Moving the start handle seeks the open preview.
  Drag(strip.Splitter1, 40);
  ASSERT_GE(values.PreviewStartSeconds, 1);
  EXPECT_TRUE(WaitUntil([&] { return PositionMs() >= values.PreviewStartSeconds * 1000 - 50; }));

  // Selecting another row stops the preview.
  ClickRow(1);
  EXPECT_TRUE(Loaded().empty());
  EXPECT_FALSE(root->FilterGraph().Active());
  EXPECT_FALSE(w().panLogo->isHidden());
  EXPECT_EQ(Display(), "00:00:00");
}

TEST_F(PreviewEndToEnd, AFileWithAStreamThatCannotBeDecodedIsLoggedAndDoesNotPlay) {
  // The picture's codec relabelled as one no decoder knows; the sound plays.
  const std::string both = media.Folder() + "both.avi";
  const std::string broken = media.Folder() + "broken.avi";
  ASSERT_TRUE(test::RunFfmpeg({"-f", "lavfi", "-i", "color=c=red:s=320x240:r=25:d=2", "-f", "lavfi", "-i",
                               "sine=duration=2", "-c:v", "mpeg4", "-c:a", "pcm_s16le", "-shortest", both}));
  ASSERT_TRUE(test::CopyReplacing(both, broken, "FMP4", "ZZZ4"));
  ASSERT_TRUE(Add({broken}));
  ClickRow(0);
  w().btnPlay->click();
  EXPECT_EQ(test::LogMessagesStartingWith(app.Folder(), kPlayingVideoError),
            std::vector<std::string>{kPlayingVideoError});
  EXPECT_FALSE(Playing());
  EXPECT_FALSE(w().panLogo->isHidden());
  EXPECT_EQ(Loaded(), broken);  // kept after a partial render
  LetTimePass(300ms);           // a picture that came through after all would be drawn meanwhile
  EXPECT_TRUE(ShowsAt(*w().DSVideoWindowEx1, 126, Qt::black));
}

TEST_F(PreviewEndToEnd, ClosingWhilePlayingReleasesThePlayerBeforeTheSettingsAreWritten) {
  ASSERT_TRUE(Add({pattern}));
  ClickRow(0);
  w().btnPlay->click();
  ASSERT_TRUE(Playing());
  ASSERT_TRUE(WaitUntil([&] { return Display() != "00:00:00"; }));  // the display ticks

  const fs::path settings = app.Path() / "Config/UserSettings.ini";
  fs::remove(settings);
  bool settingsAtRelease = true, activeAfterRelease = true;
  preview->beforeRelease = [&] { settingsAtRelease = fs::exists(settings); };
  preview->afterRelease = [&] { activeAfterRelease = root->FilterGraph().Active(); };
  root->MainWindowSkin().close();
  EXPECT_FALSE(settingsAtRelease);
  EXPECT_FALSE(activeAfterRelease);
  EXPECT_TRUE(fs::exists(settings));
  // Nothing of the player runs on afterwards.
  const std::string shown = Display();
  LetTimePass(kOneDisplayTick);
  EXPECT_EQ(Display(), shown);
}

}  // namespace
}  // namespace sonvarro
