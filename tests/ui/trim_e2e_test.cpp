// Trimming end to end: one row trimmed by typing in its time cells, one with
// the timeline's handles, both converted by the real evc.exe; the outputs
// are as long as the ranges and start where the ranges start.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QTimeEdit>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "RecordingDesktop.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "TestMedia.h"
#include "WaitUntil.h"
#include "app/AppRoot.h"
#include "engine/OptionLists.h"
#include "engine/OutputTables.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;

using test::WaitUntil;

// A tone after a silent lead: a range that starts where the tone starts
// begins loud, one that starts earlier begins silent.
std::string ToneAfterSilence(const std::string& path, double seconds, double silentLead) {
  test::ToneSpec spec;
  spec.seconds = seconds;
  spec.silentLead = silentLead;
  std::string error;
  EXPECT_TRUE(test::WriteToneFile(path, spec, &error)) << error;
  return path;
}

TEST(TrimEndToEnd, RowsTrimmedByTypingAndWithTheTimelineGiveTheirRanges) {
  test::RecordingDesktop desktop;
  test::TempDir app, media, out;
  test::LayOutAppFolder(app.Folder());  // the splash shows for real
  const std::string typed = ToneAfterSilence(media.Folder() + "typed.wav", 10, 3);
  const std::string dragged = ToneAfterSilence(media.Folder() + "dragged.wav", 20, 10);

  test::ScriptedDialogs dialogs;
  dialogs.openSourceFiles = [&](const std::string&) { return std::vector<std::string>{typed, dragged}; };
  AppSeams seams = test::TestAppSeams(app.Folder(), desktop, dialogs);
  seams.quitApplication = [] {};
  AppRoot root(std::move(seams));
  MainWindow& window = root.MainWindowSkin();
  SourceGrid& grid = window.Grid();
  TimelineStrip& strip = window.Timeline();
  root.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.Widgets().btnOpenFile->click();
  ASSERT_TRUE(WaitUntil([&] { return !root.AddFilesPopupSkin().isVisible(); }));
  ASSERT_EQ(grid.RowCount(), 2);
  // Back from the popup the window is active again, as for a user: the time
  // editors take the focus.
  ASSERT_TRUE(WaitUntil([&] {
    window.activateWindow();
    return window.isActiveWindow();
  }));
  QCoreApplication::processEvents();
  root.OptionControlViews().cbbOutputFiletype.SetItemIndex(kOutputWav);
  ApplyProfile(root.OptionControlViews(), {});
  window.Widgets().outputFolder.SetText(out.Folder());
  window.Widgets().showOutputDirectory.SetChecked(false);

  const auto click = [&](int row, int column) {
    const QRect cell = grid.visualRect(grid.model()->index(row, column));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
  };
  const auto editor = [&]() -> QTimeEdit* {
    for (QTimeEdit* open : grid.findChildren<QTimeEdit*>())
      if (open->isVisible()) return open;
    return nullptr;
  };

  // The first row by typing: 00:00:03 to 00:00:08.
  click(0, kColStartTime);
  ASSERT_NE(editor(), nullptr);
  QTest::keyClicks(editor(), "000003");
  click(0, kColEndTime);
  ASSERT_NE(editor(), nullptr);
  QTest::keyClicks(editor(), "000008");
  QTest::keyClick(editor(), Qt::Key_Return);
  QCoreApplication::processEvents();  // the editor posts its value from the event loop
  EXPECT_EQ(grid.Cell(0, kColStartTime), "00:00:03");
  EXPECT_EQ(grid.Cell(0, kColEndTime), "00:00:08");
  EXPECT_EQ(grid.Cell(0, kColCutTime), "00:00:05");

  // The second with the handles: 50 % to 75 % of 20 seconds.
  click(1, kColFileName);
  const auto drag = [&](TimelineHandleWidget* handle, int dx) {
    const QPoint from = handle->mapTo(&strip, handle->rect().center());
    QTest::mousePress(handle, Qt::LeftButton, {}, handle->rect().center());
    QTest::mouseMove(handle, handle->mapFrom(&strip, from + QPoint(dx, 0)));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, handle->mapFrom(&strip, from + QPoint(dx, 0)));
  };
  drag(strip.Splitter1, 110);
  drag(strip.Splitter2, -56);
  EXPECT_EQ(grid.Cell(1, kColStartTime), "00:00:10");
  EXPECT_EQ(grid.Cell(1, kColEndTime), "00:00:15");
  EXPECT_EQ(grid.Cell(1, kColCutTime), "00:00:05");
  EXPECT_EQ(grid.Cell(0, kColCutTime), "00:00:05") << "the first row kept its range";

  window.Widgets().btnConvert->click();
  ASSERT_TRUE(WaitUntil([&] { return !root.Conversion().Running(); }));
  for (const char* name : {"typed.wav", "dragged.wav"}) {
    SCOPED_TRACE(name);
    const test::MediaReport report = test::DecodeMedia(out.Folder() + name);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_NEAR(report.durationSeconds, 5.0, 0.05);
    ASSERT_FALSE(report.blockRms.empty());
    EXPECT_GT(report.blockRms.front(), 0.1) << "the range starts where the tone starts, not in the silence";
  }
}

}  // namespace
}  // namespace sonvarro
