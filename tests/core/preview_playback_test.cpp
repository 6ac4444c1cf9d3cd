#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FakeControls.h"
#include "LogMessages.h"
#include "RecordingDesktop.h"
#include "TempDir.h"
#include "VirtualScheduler.h"
#include "shell/PreviewPlayback.h"

namespace sonvarro {
namespace {

constexpr int64_t kUnitsPerSecond = 10'000'000;

// A graph that plays in virtual time: the position only moves when the test
// says so. It starts and halts the track bar as the real one does, and each
// operation can be told to fail.
class FakeGraph : public MediaGraph {
 public:
  bool Active() const override { return active; }
  void SetActive(bool a) override {
    calls.push_back(a ? "Activate" : "Deactivate");
    active = a;
    if (!a) rendered.clear();
    if (bar) bar->Stop();
  }
  void Clear() override {
    calls.push_back("Clear");
    if (active) rendered.clear();
  }
  int Render(const std::string& path) override {
    calls.push_back("Render " + path);
    if (!active) throw MediaGraphError("inactive");
    if (renderThrows) throw MediaGraphError("cannot render");
    rendered = path;
    position = 0;
    return renderCode;
  }
  void Play() override { Change("Play", playThrows, true); }
  void Pause() override { Change("Pause", pauseThrows, false); }
  void Stop() override { Change("Stop", stopThrows, false); }
  int64_t DurationMs() const override {
    if (rendered.empty()) throw MediaGraphError("nothing rendered");
    return durationMs;
  }
  int64_t CurrentPosition() const override {
    if (rendered.empty()) throw MediaGraphError("nothing rendered");
    return position;
  }
  void SeekTo(int64_t ms) override {
    calls.push_back("SeekTo " + std::to_string(ms));
    if (!active) throw MediaGraphError("inactive");
    position = ms * 10'000;
  }

  PositionTrackBar* bar = nullptr;
  bool active = false;
  std::string rendered;
  int renderCode = 0;
  bool renderThrows = false, playThrows = false, pauseThrows = false, stopThrows = false;
  int64_t durationMs = 60'000;
  int64_t position = 0;
  std::vector<std::string> calls;

 private:
  void Change(const char* what, bool fails, bool run) {
    calls.push_back(what);
    if (!active || fails) throw MediaGraphError(std::string(what) + " failed");
    if (bar) run ? bar->Start() : bar->Stop();
  }
};

// A desktop whose pending events can hold a click the user made meanwhile.
class PendingClickDesktop : public test::RecordingDesktop {
 public:
  void ProcessPendingEvents() override {
    RecordingDesktop::ProcessPendingEvents();
    if (pending) std::exchange(pending, nullptr)();
  }
  std::function<void()> pending;
};

class PreviewPlaybackTest : public ::testing::Test {
 protected:
  PreviewPlaybackTest() {
    graph.bar = &bar;
    curTime.text = "00:00:00";
    grid.AddFile("/media/a.mp4", "00:01:00");
    grid.AddFile("/media/b.mp4", "00:01:00");
    grid.AddFile("/media/c.mp4", "00:01:00");
  }

  std::vector<std::string> Renders() const {
    std::vector<std::string> renders;
    for (const std::string& call : graph.calls)
      if (call.rfind("Render ", 0) == 0) renders.push_back(call.substr(7));
    return renders;
  }
  int Count(const std::string& call) const {
    return static_cast<int>(std::count(graph.calls.begin(), graph.calls.end(), call));
  }
  void PlayAt(int seconds) {
    graph.position = int64_t{seconds} * kUnitsPerSecond;
    scheduler.AdvanceBy(PositionTrackBar::kTimerInterval);
  }
  // Nothing open: the graph released, the logo shown, the display and the
  // bars back at the beginning.
  void ExpectStopped() const {
    EXPECT_FALSE(graph.active);
    EXPECT_TRUE(common.LoadedFile.empty());
    EXPECT_FALSE(proc.IsPlaying);
    EXPECT_TRUE(logo.visible);
    EXPECT_EQ(curTime.text, "00:00:00");
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(playState.position, 0);
  }
  // The row plays from its beginning.
  testing::AssertionResult Playing(int row = 0) {
    grid.selected = {row};
    preview.btnPlayClick();
    if (!proc.IsPlaying) return testing::AssertionFailure() << "row " << row << " does not play";
    graph.calls.clear();
    return testing::AssertionSuccess();
  }

  PendingClickDesktop desktop;
  test::TempDir appFolder;
  test::VirtualScheduler scheduler;
  FakeGraph graph;
  PositionTrackBar bar{scheduler, graph};
  test::FakeSourceGrid grid;
  TCustomProc proc;
  TAppFunc appFunc{appFolder.Folder()};
  TCommonLib common{appFolder.Folder(), appFunc, desktop};
  test::FakePanel logo;
  test::FakeTextField curTime;
  test::FakeProgressBar playState;
  PreviewPlayback preview{{logo, curTime, playState}, {graph, bar, grid, proc, common, appFunc, desktop}};
};

TEST(PreviewPositionText, WholeSecondsAsHoursMinutesAndSeconds) {
  const struct {
    int64_t position;
    const char* text;
  } cases[] = {
      {0, "00:00:00"},
      {kUnitsPerSecond - 1, "00:00:00"},
      {61 * kUnitsPerSecond + kUnitsPerSecond / 2, "00:01:01"},
      {35'999 * kUnitsPerSecond / 10, "00:59:59"},  // 3599.9 s
      {3600 * kUnitsPerSecond, "01:00:00"},
      {360'000 * kUnitsPerSecond, "100:00:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(PositionText(c.position), c.text) << c.position;
}

TEST_F(PreviewPlaybackTest, PlayLoadsEverySelectedRowInListOrderAndTheLastOnePlays) {
  grid.selected = {0, 2};
  preview.btnPlayClick();

  EXPECT_EQ(Renders(), (std::vector<std::string>{"/media/a.mp4", "/media/c.mp4"}));
  EXPECT_EQ(common.LoadedFile, "/media/c.mp4");
  EXPECT_EQ(graph.rendered, "/media/c.mp4");
  EXPECT_TRUE(proc.IsPlaying);
  EXPECT_FALSE(logo.visible);
  EXPECT_TRUE(bar.Enabled());
  // Each load starts from a fresh graph and lets waiting clicks run once.
  EXPECT_EQ(Count("Deactivate"), 2);
  EXPECT_EQ(desktop.pendingEventRuns, 2);
  // Not placed yet: no seek to a trim start.
  EXPECT_EQ(Count("SeekTo 0"), 0);
}

TEST_F(PreviewPlaybackTest, PlayWithNothingLoadedAndNothingSelectedDoesNothing) {
  preview.btnPlayClick();
  EXPECT_TRUE(graph.calls.empty());
  EXPECT_TRUE(logo.visible);
  EXPECT_FALSE(proc.IsPlaying);
}

TEST_F(PreviewPlaybackTest, TheStateTableHoldsForRepeatedAndIdleCommands) {
  ASSERT_TRUE(Playing());
  preview.btnPlayClick();  // play while playing
  EXPECT_TRUE(graph.calls.empty());

  preview.btnPauseClick();
  EXPECT_EQ(graph.calls, std::vector<std::string>{"Pause"});
  EXPECT_FALSE(proc.IsPlaying);
  EXPECT_FALSE(logo.visible);
  EXPECT_FALSE(bar.Enabled());
  preview.btnPauseClick();  // pause while paused
  EXPECT_EQ(graph.calls, std::vector<std::string>{"Pause"});

  preview.btnPlayClick();  // play resumes what is loaded
  EXPECT_EQ(graph.calls, (std::vector<std::string>{"Pause", "Play"}));
  EXPECT_TRUE(proc.IsPlaying);
  EXPECT_EQ(Renders().size(), 0u);

  PlayAt(7);
  EXPECT_EQ(curTime.text, "00:00:07");
  preview.btnStopClick();
  EXPECT_EQ(graph.calls.back(), "Clear");
  ExpectStopped();

  // Stop while empty leaves even the display alone.
  graph.calls.clear();
  curTime.text = "00:00:07";
  preview.btnStopClick();
  EXPECT_TRUE(graph.calls.empty());
  EXPECT_EQ(curTime.text, "00:00:07");
  EXPECT_EQ(preview.StopPreview(), "");
  EXPECT_EQ(preview.PlayPreview(), "");
  EXPECT_EQ(preview.PausePreview(), "");
}

TEST_F(PreviewPlaybackTest, EachLoadSeeksToTheStartTimeOfItsOwnRow) {
  // Row b's start was set (by a handle or typed, the row does not tell);
  // row c starts at the beginning.
  grid.rows[1][kColStartTime] = "00:04:06";
  graph.durationMs = 300'000;
  EXPECT_EQ(preview.LoadAndPlayPreview("/media/b.mp4"), kWordPlaying);
  EXPECT_EQ(graph.calls.back(), "SeekTo 246000");
  EXPECT_EQ(graph.position, 246 * kUnitsPerSecond);

  graph.calls.clear();
  EXPECT_EQ(preview.LoadAndPlayPreview("/media/c.mp4"), kWordPlaying);
  EXPECT_EQ(Count("SeekTo 246000"), 0) << "another row's start";
  EXPECT_EQ(graph.position, 0);
  EXPECT_EQ(common.LoadedFile, "/media/c.mp4");

  // The same file twice in the list: the selected row's range counts.
  grid.AddFile("/media/b.mp4", "00:05:00", "00:00:10");
  grid.selected = {3};
  graph.calls.clear();
  preview.btnStopClick();
  preview.btnPlayClick();
  EXPECT_EQ(graph.calls.back(), "SeekTo 10000");
}

TEST_F(PreviewPlaybackTest, AStartBeyondTheFilesEndPlaysFromTheBeginning) {
  // The row says 4 minutes, the file holds 12 seconds.
  grid.rows[0][kColStartTime] = "00:04:07";
  graph.durationMs = 12'000;
  ASSERT_TRUE(Playing(0));
  EXPECT_EQ(graph.position, 0);
  EXPECT_FALSE(logo.visible);
  PlayAt(5);
  EXPECT_EQ(curTime.text, "00:00:05");
  EXPECT_TRUE(proc.IsPlaying);
}

TEST_F(PreviewPlaybackTest, AStopClickedWhileTheLoadStartsLeavesThePreviewEmpty) {
  for (bool placed : {true, false}) {
    SCOPED_TRACE(placed ? "with a start to seek to" : "without");
    grid.rows[0][kColStartTime] = placed ? "00:00:05" : "00:00:00";
    desktop.pending = [this] { preview.btnStopClick(); };
    EXPECT_EQ(preview.LoadAndPlayPreview("/media/a.mp4"), "");
    EXPECT_FALSE(graph.active);
    EXPECT_TRUE(common.LoadedFile.empty());
    EXPECT_FALSE(proc.IsPlaying);
    EXPECT_TRUE(logo.visible);
    EXPECT_EQ(Count("SeekTo 5000"), 0);
  }
}

TEST_F(PreviewPlaybackTest, AFileThatDoesNotRenderWholeIsLoggedAndNothingPlays) {
  // Partial: the path stays loaded over an empty graph.
  graph.renderCode = 1;
  EXPECT_EQ(preview.LoadAndPlayPreview("/media/a.mp4"), kWordStopped);
  EXPECT_EQ(test::LogMessages(appFolder.Folder()), std::vector<std::string>{kPlayingVideoError});
  EXPECT_EQ(graph.calls.back(), "Clear");
  EXPECT_TRUE(graph.active);
  EXPECT_TRUE(graph.rendered.empty());
  EXPECT_EQ(common.LoadedFile, "/media/a.mp4");
  EXPECT_FALSE(proc.IsPlaying);
  EXPECT_TRUE(logo.visible);
  // So the next play command plays the empty graph rather than loading again.
  graph.calls.clear();
  preview.btnPlayClick();
  EXPECT_EQ(graph.calls, std::vector<std::string>{"Play"});
  EXPECT_TRUE(proc.IsPlaying);
  // Its ticks cannot read a position: nothing moves, nothing escapes.
  scheduler.AdvanceBy(3000);
  EXPECT_EQ(curTime.text, "00:00:00");

  // A render that fails outright leaves nothing loaded.
  preview.btnStopClick();
  graph.renderThrows = true;
  EXPECT_EQ(preview.LoadAndPlayPreview("/media/b.mp4"), kWordStopped);
  EXPECT_TRUE(common.LoadedFile.empty());
  EXPECT_EQ(test::LogMessages(appFolder.Folder()).size(), 2u);
}

TEST_F(PreviewPlaybackTest, FailingStateChangesShowTheLogoAndKeepTheState) {
  ASSERT_TRUE(Playing());
  graph.pauseThrows = true;
  EXPECT_EQ(preview.PausePreview(), kWordStopped);
  EXPECT_TRUE(proc.IsPlaying);
  EXPECT_TRUE(logo.visible);

  graph.pauseThrows = false;
  preview.PausePreview();
  graph.playThrows = true;
  EXPECT_EQ(preview.PlayPreview(), kWordStopped);
  EXPECT_FALSE(proc.IsPlaying);
  EXPECT_TRUE(logo.visible);

  graph.position = 3 * kUnitsPerSecond;
  playState.position = 3;
  graph.stopThrows = true;
  curTime.text = "00:00:03";
  EXPECT_EQ(preview.StopPreview(), kWordStopped);
  EXPECT_TRUE(graph.active);
  EXPECT_EQ(common.LoadedFile, "/media/a.mp4");
  EXPECT_EQ(curTime.text, "00:00:03");
  EXPECT_EQ(playState.position, 0);
}

TEST_F(PreviewPlaybackTest, TicksShowThePositionAndMirrorTheTrackBar) {
  graph.durationMs = 95'500;
  ASSERT_TRUE(Playing());
  PlayAt(42);
  EXPECT_EQ(curTime.text, "00:00:42");
  EXPECT_EQ(playState.minimum, 0);
  EXPECT_EQ(playState.maximum, 95);
  EXPECT_EQ(playState.position, 42);
  EXPECT_TRUE(graph.calls.empty());

  // Paused: no ticks, the display holds.
  preview.btnPauseClick();
  graph.position = 50 * kUnitsPerSecond;
  scheduler.AdvanceBy(5000);
  EXPECT_EQ(curTime.text, "00:00:42");
}

TEST_F(PreviewPlaybackTest, TheRowsEndTimeRewindsToItsStartTimeAndPauses) {
  grid.rows[0][kColStartTime] = "00:00:05";
  grid.rows[0][kColEndTime] = "00:00:20";
  ASSERT_TRUE(Playing(0));
  PlayAt(19);
  EXPECT_TRUE(proc.IsPlaying);
  PlayAt(20);
  EXPECT_EQ(graph.calls, (std::vector<std::string>{"SeekTo 5000", "Pause"}));
  EXPECT_EQ(graph.position, 5 * kUnitsPerSecond);
  EXPECT_FALSE(proc.IsPlaying);
  EXPECT_FALSE(logo.visible);
  EXPECT_EQ(common.LoadedFile, "/media/a.mp4");

  // Play plays the range again; a tick that comes late still pauses.
  preview.btnPlayClick();
  EXPECT_TRUE(proc.IsPlaying);
  PlayAt(21);
  EXPECT_FALSE(proc.IsPlaying);

  // An End Time moved while the file plays counts from the next tick.
  preview.btnPlayClick();
  grid.rows[0][kColEndTime] = "00:00:30";
  PlayAt(25);
  EXPECT_TRUE(proc.IsPlaying);
  PlayAt(30);
  EXPECT_FALSE(proc.IsPlaying);
}

TEST_F(PreviewPlaybackTest, AnotherRowsEndTimeDoesNotPauseTheFileThatPlays) {
  // Row a ends at 15 s; row b, whose own End Time is 30 s, plays past it.
  grid.rows[0][kColEndTime] = "00:00:15";
  grid.rows[1][kColEndTime] = "00:00:30";
  ASSERT_TRUE(Playing(1));
  PlayAt(15);
  PlayAt(16);
  EXPECT_TRUE(proc.IsPlaying);
  PlayAt(30);
  EXPECT_FALSE(proc.IsPlaying);
  EXPECT_EQ(common.LoadedFile, "/media/b.mp4");

  // An End Time at the row's Duration leaves the end of the file to stop it.
  preview.btnStopClick();
  ASSERT_TRUE(Playing(2));
  PlayAt(59);
  EXPECT_TRUE(proc.IsPlaying);
  PlayAt(60);
  ExpectStopped();
}

TEST_F(PreviewPlaybackTest, TheEndOfTheFileStopsSoTheNextPlayLoadsAgain) {
  graph.durationMs = 30'000;
  ASSERT_TRUE(Playing());
  PlayAt(30);
  EXPECT_EQ(graph.calls.front(), "SeekTo 0");
  ExpectStopped();
  EXPECT_EQ(scheduler.PendingTimers(), 0u);

  preview.btnPlayClick();
  EXPECT_EQ(Renders(), std::vector<std::string>{"/media/a.mp4"});
  EXPECT_TRUE(proc.IsPlaying);
}

}  // namespace
}  // namespace sonvarro
