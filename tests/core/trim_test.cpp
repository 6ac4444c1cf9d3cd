// Trimming without a toolkit: the time cells as they are read, the range
// checks after an edit in the grid, and the timeline's pixel mappings and
// handle moves on a strip of the design sizes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "FakeControls.h"
#include "VirtualScheduler.h"
#include "player/MediaGraph.h"
#include "sourcelist/TrimRange.h"
#include "sourcelist/TrimTimeline.h"
#include "sourcerows/SourceRows.h"

namespace sonvarro {
namespace {

using test::FakeSourceGrid;

// The preview player as far as trimming reaches it: what was stopped and
// where it was moved.
struct RecordingPreview : IPreviewPlayer {
  bool active = false;
  bool seekFails = false;
  std::string loadedFile;
  std::vector<int64_t> seeks;
  int stops = 0;

  bool PreviewActive() const override { return active; }
  void SeekPreview(int64_t positionMs) override {
    seeks.push_back(positionMs);
    if (seekFails) throw MediaGraphError("cannot seek");
  }
  std::string LoadedFile() const override { return loadedFile; }
  void StopPreview() override { ++stops; }
};

// The strip laid out as its alignments place the parts: Panel4 takes what
// the outer parts and the two 19-pixel handles leave. A width set moves both
// handles, which then need drawing once.
struct FakeStrip : ITimelineStrip {
  int panel1 = 260, panel2 = 1, panel3 = 1;
  std::set<TimelineHandle> moved;
  std::vector<TimelineHandle> drawn;

  int Panel1Width() const override { return panel1; }
  void SetPanel1Width(int width) override { Set(panel1, width); }
  int Panel2Width() const override { return panel2; }
  void SetPanel2Width(int width) override { Set(panel2, width); }
  int Panel3Width() const override { return panel3; }
  void SetPanel3Width(int width) override { Set(panel3, width); }
  int Panel4Width() const override { return std::max(0, panel1 - panel2 - panel3 - 2 * 19); }
  int HandleWidth(TimelineHandle) const override { return 19; }
  bool DrawHandle(TimelineHandle handle) override {
    if (moved.erase(handle) == 0) return false;
    drawn.push_back(handle);
    return true;
  }

 private:
  void Set(int& part, int width) {
    if (part != width) moved = {TimelineHandle::Start, TimelineHandle::End};
    part = width;
  }
};

std::string Row(const FakeSourceGrid& grid, int row) {
  return grid.Cell(row, kColStartTime) + " " + grid.Cell(row, kColEndTime) + " " + grid.Cell(row, kColCutTime);
}

TEST(TimeCells, OnlyTimesAsTheGridWritesThemRead) {
  EXPECT_EQ(ReadTimeText("00:00:00"), 0);
  EXPECT_EQ(ReadTimeText("01:01:01"), 3661);
  EXPECT_EQ(ReadTimeText("23:59:59"), 86399);
  EXPECT_EQ(ReadTimeText("100:00:00"), 360000);
  for (const char* text : {"", "1:02:03", "00:60:00", "00:00:60", "00:00:01 -i /x", " 00:00:01", "+0:00:01",
                           "00:00:01:", "00:00", "0a:00:00", "00:0-:01", "0000000000:00:00"}) {
    EXPECT_EQ(ReadTimeText(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(TrimRangeChecks, TypedTimesAreBroughtIntoTheRange) {
  struct Case {
    const char* duration;
    const char* start;  // as the edit left the row
    const char* end;
    const char* checked;  // Start, End and Cut Time after the checks
  };
  const Case cases[] = {
      {"00:02:00", "00:00:30", "00:01:00", "00:00:30 00:01:00 00:00:30"},
      {"00:02:00", "00:01:30", "00:01:00", "00:01:30 00:01:30 00:00:00"},
      {"00:02:00", "00:03:00", "00:02:00", "00:02:00 00:02:00 00:00:00"},
      {"00:02:00", "00:03:00", "00:01:00", "00:02:00 00:02:00 00:00:00"},
      {"00:02:00", "00:00:20", "00:05:00", "00:00:20 00:02:00 00:01:40"},
      {"00:02:00", "00:00:20", "", "00:00:20 00:02:00 00:01:40"},
      {"00:02:00", "", "00:01:00", "00:00:00 00:01:00 00:01:00"},
      {"00:02:00", "00:02:00", "00:02:00", "00:02:00 00:02:00 00:00:00"},
      // Cells that do not hold a time count as emptied.
      {"00:02:00", "00:00:01 -i /x", "1:0:0", "00:00:00 00:02:00 00:02:00"},
      // A file without a duration keeps a range of nothing.
      {"00:00:00", "00:00:05", "00:00:09", "00:00:00 00:00:00 00:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.duration) + " [" + c.start + "] [" + c.end + "]");
    FakeSourceGrid grid;
    grid.AddFile("/in/a.mp3", c.duration, c.start, c.end);
    grid.rows[0][kColEndTime] = c.end;
    grid.SetSelected(0, true);
    RecordingPreview preview;
    CheckTrimRanges(grid, 0, true, preview);
    EXPECT_EQ(Row(grid, 0), c.checked);
  }
}

TEST(TrimRangeChecks, EverySelectedRowAndTheEditedOneAreCheckedAndNoOther) {
  FakeSourceGrid grid;
  grid.AddFile("/in/a.mp3", "00:02:00", "00:03:00", "00:01:00");
  grid.AddFile("/in/b.mp3", "00:02:00", "00:03:00", "00:01:00");
  grid.AddFile("/in/c.mp3", "00:01:00", "00:00:50", "00:00:10");
  grid.AddFile("/in/d.mp3", "00:01:00", "00:00:50", "00:00:10");
  grid.SetSelected(0, true);
  grid.SetSelected(2, true);
  RecordingPreview preview;
  CheckTrimRanges(grid, 0, false, preview);  // a check box ticked with rows 0 and 2 selected
  EXPECT_EQ(Row(grid, 0), "00:02:00 00:02:00 00:00:00");
  EXPECT_EQ(Row(grid, 1), "00:03:00 00:01:00 00:02:00") << "an unselected row is left as it is";
  EXPECT_EQ(Row(grid, 2), "00:00:50 00:00:50 00:00:00");
  CheckTrimRanges(grid, 3, false, preview);  // an edit of a row that Ctrl+click left unselected
  EXPECT_EQ(Row(grid, 3), "00:00:50 00:00:50 00:00:00");
  EXPECT_EQ(Row(grid, 1), "00:03:00 00:01:00 00:02:00");
  EXPECT_TRUE(preview.seeks.empty()) << "no seek before the timeline was placed";
}

TEST(TrimRangeChecks, TheOpenPreviewMovesToEachCheckedStartAndAFailedSeekStopsNothing) {
  FakeSourceGrid grid;
  grid.AddFile("/in/a.mp3", "00:02:00", "00:03:00", "00:05:00");
  grid.AddFile("/in/b.mp3", "00:02:00", "00:00:20", "00:05:00");
  grid.SetSelected(0, true);
  grid.SetSelected(1, true);
  RecordingPreview preview;
  CheckTrimRanges(grid, 1, true, preview);
  EXPECT_TRUE(preview.seeks.empty()) << "nothing open in the preview";

  preview.active = true;
  preview.seekFails = true;
  CheckTrimRanges(grid, 1, true, preview);
  EXPECT_EQ(preview.seeks, (std::vector<int64_t>{120000, 20000}));
  EXPECT_EQ(Row(grid, 0), "00:02:00 00:02:00 00:00:00");
  EXPECT_EQ(Row(grid, 1), "00:00:20 00:02:00 00:01:40") << "the checks went on after the failed seeks";
}

// A timeline on the design sizes over a grid with one selected 100-second row.
class TimelineTest : public testing::Test {
 protected:
  TimelineTest() {
    grid.AddFile("/in/a.mp3", "00:01:40");
    grid.SetSelected(0, true);
  }

  void Place(const std::string& duration, const std::string& start, const std::string& end) {
    grid.rows[0][kColDuration] = duration;
    grid.rows[0][kColStartTime] = start;
    grid.rows[0][kColEndTime] = end;
    timeline.SyncTimelineToSelection();
  }

  FakeSourceGrid grid;
  FakeStrip strip;
  RecordingPreview preview;
  test::VirtualScheduler scheduler;
  TrimTimeline timeline{grid, strip, preview, scheduler};
  TimelineValues& values = timeline.Values();
};

TEST_F(TimelineTest, PlacingMapsTimesToPixelsWithItsRoundingAndThresholds) {
  struct Case {
    const char* duration;
    const char* start;
    const char* end;
    int panel2Before, panel3Before;
    int panel2, panel3;
  };
  const Case cases[] = {
      {"00:02:40", "00:01:00", "00:02:40", 1, 1, 83, 1},     // 82.5 rounds to 82
      {"00:01:20", "00:00:10", "00:01:20", 1, 1, 29, 1},     // 27.5 rounds to 28
      {"00:02:40", "00:01:00", "00:02:40", 82, 1, 82, 1},    // within 1 pixel: stays
      {"00:02:40", "00:01:00", "00:02:40", 84, 1, 84, 1},    //
      {"00:02:40", "00:01:00", "00:02:40", 85, 1, 83, 1},    // 2 pixels off: moves
      {"00:01:40", "00:00:00", "00:01:40", 2, 2, 2, 2},      // after a cleared list
      {"00:01:40", "00:00:00", "00:00:50", 1, 109, 1, 109},  // within 2 pixels: stays
      {"00:01:40", "00:00:00", "00:00:50", 1, 108, 1, 111},  // 3 pixels off: moves
      {"00:01:40", "00:00:00", "00:01:41", 1, 40, 1, 1},     // 101 % still inside the strip
      {"00:00:00", "00:00:00", "00:00:00", 50, 60, 1, 1},    // no duration: both ends
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.duration) + " " + c.start + " " + c.end + " from " + std::to_string(c.panel2Before) +
                 "/" + std::to_string(c.panel3Before));
    strip.panel1 = 300;
    strip.panel2 = c.panel2Before;
    strip.panel3 = c.panel3Before;
    values.TimelineReady = false;
    Place(c.duration, c.start, c.end);
    EXPECT_EQ(strip.panel1, 260);
    EXPECT_EQ(strip.panel2, c.panel2);
    EXPECT_EQ(strip.panel3, c.panel3);
    EXPECT_TRUE(values.TimelineReady);
  }
  EXPECT_EQ(values.CurrentDurationSeconds, 0);
  EXPECT_EQ(Row(grid, 0), "00:00:00 00:00:00 00:01:40") << "placing changes no time";
}

TEST_F(TimelineTest, PlacingFollowsTheLastSelectedRowAndSkipsTheFileInThePreview) {
  grid.AddFile("/in/b.mp3", "00:02:40", "00:01:00");
  grid.AddFile("/in/c.mp3", "00:01:40", "00:00:50");
  grid.SetSelected(1, true);
  timeline.SyncTimelineToSelection();
  EXPECT_EQ(strip.panel2, 83);
  EXPECT_EQ(values.CurrentDurationSeconds, 160);
  EXPECT_EQ(preview.stops, 2);

  // Clicking the row whose file plays neither stops it nor moves the handles.
  grid.selected = {2};
  preview.loadedFile = "/in/c.mp3";
  timeline.SyncTimelineToSelection();
  EXPECT_EQ(strip.panel2, 83);
  EXPECT_EQ(values.CurrentDurationSeconds, 160);
  EXPECT_EQ(preview.stops, 2);
  preview.loadedFile = "/in/C.mp3";  // another file
  timeline.SyncTimelineToSelection();
  EXPECT_EQ(strip.panel2, 111);
  EXPECT_EQ(preview.stops, 3);
}

TEST_F(TimelineTest, HandleMovesSetWholePercentsOfTheDuration) {
  timeline.SyncTimelineToSelection();
  struct Case {
    TimelineHandle handle;
    int width;  // of the outer part the handle resizes, as the drag asks
    const char* row;
  };
  const Case cases[] = {
      {TimelineHandle::Start, 111, "00:00:50 00:01:40 00:00:50"},
      {TimelineHandle::Start, 1, "00:00:00 00:01:40 00:01:40"},
      {TimelineHandle::Start, 3, "00:00:00 00:01:40 00:01:40"},
      {TimelineHandle::Start, 0, "00:00:00 00:01:40 00:01:40"},  // kept at 1 pixel
      {TimelineHandle::End, 1, "00:00:00 00:01:41 00:01:41"},    // far right: 101 %
      {TimelineHandle::End, 2, "00:00:00 00:01:40 00:01:40"},
      {TimelineHandle::End, 41, "00:00:00 00:01:22 00:01:22"},
      {TimelineHandle::Start, 500, "00:01:22 00:01:22 00:00:00"},  // stops 1 pixel short of the end handle
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.handle == TimelineHandle::Start ? "start " : "end ") + std::to_string(c.width));
    if (c.handle == TimelineHandle::Start)
      timeline.DragStartHandle(c.width);
    else
      timeline.DragEndHandle(c.width);
    EXPECT_EQ(Row(grid, 0), c.row);
  }
  EXPECT_EQ(strip.Panel4Width(), 1);
  EXPECT_EQ(values.PreviewStartSeconds, 82);
  EXPECT_EQ(values.PreviewStopTime, "00:01:22");
}

TEST_F(TimelineTest, TheHandlesAreRedrawnEvery10MsWhileTheyHaveSomethingToShow) {
  timeline.SyncTimelineToSelection();  // the handles are where they belong already
  scheduler.AdvanceBy(10);
  EXPECT_FALSE(timeline.PaintTimerRunning()) << "nothing moved: the timer rests";
  scheduler.AdvanceBy(1000);
  EXPECT_TRUE(strip.drawn.empty());

  timeline.DragEndHandle(40);
  EXPECT_EQ(strip.drawn, std::vector<TimelineHandle>{TimelineHandle::End}) << "an end move draws its handle at once";
  EXPECT_TRUE(timeline.PaintTimerRunning());
  scheduler.AdvanceBy(10);
  EXPECT_EQ(strip.drawn, (std::vector<TimelineHandle>{TimelineHandle::End, TimelineHandle::Start}));
  scheduler.AdvanceBy(10);
  EXPECT_FALSE(timeline.PaintTimerRunning());

  int step = 0;
  for (const auto& change : std::vector<std::function<void()>>{[&] {
                                                                 grid.SetCell(0, kColStartTime, "00:00:30");
                                                                 timeline.SyncTimelineToSelection();
                                                               },
                                                               [&] { timeline.DragStartHandle(100); },
                                                               [&] { timeline.Panel2MouseDown(MouseButton::Left, {}); },
                                                               [&] { timeline.MoveHandlesToEnds(); }}) {
    SCOPED_TRACE(++step);
    strip.drawn.clear();
    change();
    EXPECT_TRUE(timeline.PaintTimerRunning());
    scheduler.AdvanceBy(20);
    EXPECT_FALSE(strip.drawn.empty());
    EXPECT_FALSE(timeline.PaintTimerRunning());
  }
}

TEST_F(TimelineTest, HandlesCloserThan20PixelsArePushedBackOnePixelPerMove) {
  Place("00:01:40", "00:00:50", "00:00:50");
  ASSERT_EQ(strip.panel2, 111);
  ASSERT_EQ(strip.panel3, 111);
  timeline.SetStartTimeAndPlay();
  EXPECT_EQ(strip.panel2, 110);
  EXPECT_EQ(grid.Cell(0, kColStartTime), "00:00:49");
  timeline.SetStartTimeAndPlay();  // 20 pixels apart now
  EXPECT_EQ(strip.panel2, 110);

  strip.panel2 = 111;
  timeline.Splitter2Moved();
  EXPECT_EQ(strip.panel3, 110);
  EXPECT_EQ(grid.Cell(0, kColEndTime), "00:00:50");
}

TEST_F(TimelineTest, PressesBesideTheHandlesStepByTheModifiersWhenThereIsRoom) {
  struct Case {
    const char* name;
    bool startSide;  // Panel2, else Panel3
    MouseButton button;
    HeldModifiers held;
    int panel2, panel3;  // before
    int moved;           // the pressed part's width after
  };
  const HeldModifiers none, ctrl{true}, shift{false, true}, ctrlShift{true, true}, alt{false, false, true},
      ctrlAlt{true, false, true};
  const Case cases[] = {
      {"plain", true, MouseButton::Left, none, 111, 1, 106},
      {"ctrl", true, MouseButton::Left, ctrl, 111, 1, 110},
      {"shift", true, MouseButton::Left, shift, 111, 1, 101},
      {"ctrl shift", true, MouseButton::Left, ctrlShift, 111, 1, 106},
      {"alt", true, MouseButton::Left, alt, 111, 1, 106},
      {"ctrl alt", true, MouseButton::Left, ctrlAlt, 111, 1, 106},
      {"right button", true, MouseButton::Right, none, 111, 1, 111},
      {"range 7 wide", true, MouseButton::Left, none, 114, 101, 109},
      {"range 6 wide", true, MouseButton::Left, none, 115, 101, 115},
      {"shift, range 11", true, MouseButton::Left, shift, 110, 101, 100},
      {"shift, range 10", true, MouseButton::Left, shift, 111, 101, 111},
      {"narrower than the step", true, MouseButton::Left, none, 3, 1, 1},
      {"end plain", false, MouseButton::Left, none, 1, 41, 36},
      {"end ctrl", false, MouseButton::Left, ctrl, 1, 2, 1},
      {"end shift", false, MouseButton::Left, shift, 1, 41, 31},
      {"end as wide as the step", false, MouseButton::Left, none, 1, 5, 5},
      {"end range 6 wide", false, MouseButton::Left, none, 101, 115, 115},
      {"end middle button", false, MouseButton::Middle, none, 1, 41, 41},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    strip.panel2 = c.panel2;
    strip.panel3 = c.panel3;
    if (c.startSide) {
      timeline.Panel2MouseDown(c.button, c.held);
      EXPECT_EQ(strip.panel2, c.moved);
      EXPECT_EQ(strip.panel3, c.panel3);
    } else {
      timeline.Panel3MouseDown(c.button, c.held);
      EXPECT_EQ(strip.panel3, c.moved);
      EXPECT_EQ(strip.panel2, c.panel2);
    }
  }
  // A press inside the range does nothing.
  strip.panel2 = strip.panel3 = 50;
  timeline.Panel4MouseDown(MouseButton::Left, none);
  EXPECT_EQ(strip.panel2, 50);
  EXPECT_EQ(strip.panel3, 50);
}

TEST_F(TimelineTest, APressMovesTheHandleAndWritesTheRow) {
  timeline.SyncTimelineToSelection();
  strip.panel3 = 41;
  timeline.Panel3MouseDown(MouseButton::Left, HeldModifiers{});
  EXPECT_EQ(strip.panel3, 36);
  EXPECT_EQ(Row(grid, 0), "00:00:00 00:01:25 00:01:25");
  strip.panel2 = 116;
  timeline.Panel2MouseDown(MouseButton::Left, HeldModifiers{});
  EXPECT_EQ(Row(grid, 0), "00:00:50 00:01:25 00:00:35");
}

TEST_F(TimelineTest, TheStartHandleSeeksTheOpenPreviewOnceTheTimelineIsPlaced) {
  preview.active = true;
  timeline.DragStartHandle(111);
  EXPECT_TRUE(preview.seeks.empty()) << "never placed: no seek";
  EXPECT_EQ(values.PreviewStartSeconds, 0) << "no duration known yet";

  timeline.SyncTimelineToSelection();
  preview.seekFails = true;
  timeline.DragStartHandle(111);
  EXPECT_EQ(preview.seeks, std::vector<int64_t>{50000});
  EXPECT_EQ(grid.Cell(0, kColStartTime), "00:00:50");
  timeline.DragEndHandle(60);
  EXPECT_EQ(preview.seeks.size(), 1u) << "the end handle never seeks";

  preview.active = false;
  timeline.DragStartHandle(150);
  EXPECT_EQ(preview.seeks.size(), 1u);
}

TEST_F(TimelineTest, MovesWithoutASelectedRowChangeOnlyThePreviewStart) {
  timeline.SyncTimelineToSelection();
  timeline.DragEndHandle(60);
  grid.selected.clear();
  timeline.DragStartHandle(111);
  timeline.DragEndHandle(100);
  EXPECT_EQ(values.PreviewStartSeconds, 50);
  EXPECT_EQ(values.PreviewStopTime, "00:01:13");
  EXPECT_EQ(Row(grid, 0), "00:00:00 00:01:13 00:01:13");

  timeline.MoveHandlesToEnds();
  EXPECT_EQ(strip.panel2, 2);
  EXPECT_EQ(strip.panel3, 2);
}

}  // namespace
}  // namespace sonvarro
