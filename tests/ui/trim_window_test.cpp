// Trimming in the main window: the time editors of the grid and the
// timeline's handles, driven with the mouse and the keyboard.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QTimeEdit>
#include <filesystem>
#include <string>

#include "RecordingDesktop.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "VirtualScheduler.h"
#include "app/AppRoot.h"
#include "services/TextFormats.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;

class TrimWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(app.Path() / "Config");
    test::CopyCompanionLibraries(app.Folder());
    window.show();
    window.activateWindow();  // the time editors take the focus, as for a user
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  void AddRow(const std::string& path, const std::string& duration, const std::string& start = "00:00:00",
              const std::string& end = "") {
    grid.AppendRow({kCheckedText, path, "1 KB", duration, start, end.empty() ? duration : end, duration});
  }
  QPoint Cell(int row, int column) { return grid.visualRect(grid.model()->index(row, column)).center(); }
  void ClickCell(int row, int column, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, Cell(row, column));
  }
  // The open time editor; one that was closed waits for its deletion hidden.
  QTimeEdit* Editor() {
    for (QTimeEdit* editor : grid.findChildren<QTimeEdit*>())
      if (editor->isVisible()) return editor;
    return nullptr;
  }
  std::string Range(int row) {
    return grid.Cell(row, kColStartTime) + " " + grid.Cell(row, kColEndTime) + " " + grid.Cell(row, kColCutTime);
  }
  // A drag of a handle by dx pixels, in two steps.
  void Drag(TimelineHandleWidget* handle, int dx) {
    const QPoint from = handle->mapTo(&strip, handle->rect().center());
    QTest::mousePress(handle, Qt::LeftButton, {}, handle->rect().center());
    QTest::mouseMove(handle, handle->mapFrom(&strip, from + QPoint(dx / 2, 0)));
    QTest::mouseMove(handle, handle->mapFrom(&strip, from + QPoint(dx, 0)));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, handle->mapFrom(&strip, from + QPoint(dx, 0)));
  }

  test::TempDir app;
  test::RecordingDesktop desktop;
  test::VirtualScheduler scheduler;
  test::ScriptedDialogs dialogs;
  AppRoot root{test::VirtualTimeSeams(app.Folder(), scheduler, desktop, dialogs)};
  MainWindow& window = root.MainWindowSkin();
  SourceGrid& grid = window.Grid();
  TimelineStrip& strip = window.Timeline();
};

TEST_F(TrimWindowTest, DraggingTheStartHandleAndClickingBesideTheEndHandleTrimTheSelectedRow) {
  EXPECT_EQ(strip.geometry(), QRect(22, 234, 260, 19));
  AddRow("/media/a.wav", "00:01:40");
  AddRow("/media/b.wav", "00:02:40");
  ClickCell(0, kColFileName);

  Drag(strip.Splitter1, 110);
  EXPECT_EQ(strip.Panel2Width(), 111);
  EXPECT_EQ(Range(0), "00:00:50 00:01:40 00:00:50");
  Drag(strip.Splitter2, -40);
  EXPECT_EQ(Range(0), "00:00:50 00:01:22 00:00:32");
  QTest::mouseClick(strip.Panel3, Qt::LeftButton, {}, QPoint(strip.Panel3->width() / 2, 9));
  QTest::mouseClick(strip.Panel3, Qt::LeftButton, Qt::ShiftModifier, QPoint(strip.Panel3->width() / 2, 9));
  EXPECT_EQ(strip.Panel3Width(), 26);
  EXPECT_EQ(Range(0), "00:00:50 00:01:29 00:00:39");
  EXPECT_EQ(Range(1), "00:00:00 00:02:40 00:02:40");
  // A press on a handle without a move counts as a move.
  grid.SetCell(0, kColStartTime, "00:00:07");
  QTest::mouseClick(strip.Splitter1, Qt::LeftButton);
  EXPECT_EQ(grid.Cell(0, kColStartTime), "00:00:50");

  // The handles follow the row clicked in the grid.
  ClickCell(1, kColFileName);
  EXPECT_EQ(strip.Panel2Width(), 1);
  EXPECT_EQ(strip.Panel3Width(), 1);
  ClickCell(0, kColFileSize);
  EXPECT_EQ(strip.Panel2Width(), 111);
  EXPECT_EQ(strip.Panel3Width(), 25);

  // The handle pictures: black pixels show the handle's background.
  const QImage picture = strip.Splitter1->grab().toImage();
  EXPECT_EQ(picture.pixelColor(0, 0), TimelineBackground());
  EXPECT_NE(picture.pixelColor(9, 9), TimelineBackground());

  // Emptying the list puts the handles at both ends.
  window.Widgets().btnClearFile->click();
  EXPECT_EQ(strip.Panel2Width(), 2);
  EXPECT_EQ(strip.Panel3Width(), 2);
}

TEST_F(TrimWindowTest, TheTimeEditorsTakeOnlyTimesAndEveryPostedEditIsChecked) {
  AddRow("/media/a.wav", "00:02:00");
  ClickCell(0, kColStartTime);
  QTimeEdit* start = Editor();
  ASSERT_NE(start, nullptr) << "the editor opens on the first click";
  EXPECT_EQ(start->displayFormat(), "HH:mm:ss");
  QTest::keyClicks(start, "x");
  EXPECT_EQ(start->time(), QTime(0, 0, 0)) << "only digits go in";
  QTest::keyClicks(start, "0001");
  EXPECT_EQ(Editor(), nullptr) << "a changed Start Time is posted at once";
  EXPECT_EQ(Range(0), "00:01:00 00:02:00 00:01:00");

  ClickCell(0, kColEndTime);
  QTimeEdit* end = Editor();
  ASSERT_NE(end, nullptr);
  QTest::keyClicks(end, "000030");
  EXPECT_EQ(Editor(), end) << "an End Time is posted when the editor is left";
  QTest::keyClick(end, Qt::Key_Return);
  QCoreApplication::processEvents();  // the editor posts its value from the event loop
  EXPECT_EQ(Range(0), "00:01:00 00:01:00 00:00:00") << "an End Time before the start is raised to it";

  // The cell that has the focus opens its editor on one click as well.
  ClickCell(0, kColEndTime);
  ASSERT_NE(Editor(), nullptr);
  QTest::keyClick(Editor(), Qt::Key_Up);  // the field under the cursor: hours
  QTest::keyClick(Editor(), Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(Range(0), "00:01:00 00:02:00 00:01:00");

  // A time the editor cannot show stays when the editor is left unchanged.
  AddRow("/media/long.wav", "30:00:00");
  ClickCell(1, kColEndTime);
  ASSERT_NE(Editor(), nullptr);
  QTest::keyClick(Editor(), Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(grid.Cell(1, kColEndTime), "30:00:00");

  // Ticking a check box with two rows selected checks both of them.
  grid.SetCell(1, kColStartTime, "31:00:00");
  grid.clearSelection();
  grid.SetSelected(0, true);
  grid.SetSelected(1, true);
  ClickCell(0, kColCheck);
  EXPECT_EQ(grid.Cell(0, kColCheck), kUncheckedText);
  EXPECT_EQ(Range(1), "30:00:00 30:00:00 00:00:00");
}

}  // namespace
}  // namespace sonvarro
