#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeControls.h"
#include "FakeEncoders.h"
#include "FakeProgressWindow.h"
#include "RecordingDesktop.h"
#include "TempDir.h"
#include "VirtualScheduler.h"
#include "engine/FrmConverting.h"

namespace sonvarro {
namespace {

using test::FakeEncoders;
using test::FakeProgressWindow;
using test::FakeSourceGrid;
using test::FakeWindow;
using test::TempDir;
using test::VirtualScheduler;

class ProgressWindowTest : public testing::Test {
 protected:
  void SetUp() override { progress.Wire(form.Events()); }

  // One chunk as OnEncoderOutput hands it over.
  void Refresh(const std::string& chunk) {
    progress.statState.text = chunk;
    form.actRefreshProgressExecute();
  }

  VirtualScheduler scheduler;
  test::RecordingDesktop desktop;
  TempDir app;
  FakeSourceGrid grid;
  FakeWindow mainWindow;
  FakeProgressWindow progress;
  TAppFunc appFunc{app.Folder()};
  TCommonLib lib{app.Folder(), appFunc, desktop};
  TCustomProc proc;
  FakeEncoders encoders{scheduler};
  EncoderStopper stopper{scheduler, encoders, appFunc};
  TfrmConverting form{progress.controls, {scheduler, proc, lib, grid, mainWindow, stopper, desktop}};
};

TEST_F(ProgressWindowTest, WorkedExample) {
  proc.CheckedCount = 3;
  proc.ConvertedCount = 1;
  proc.CurrentCutSeconds = "185";
  proc.RefreshCount = 1;
  progress.ProgressBar1.maximum = 185;
  progress.ProgressBar1.position = 92;
  Refresh("size=  1440kB time=95.21 bitrate= 123.9kbits/s");
  EXPECT_EQ(progress.pbTotal.maximum, 300);
  EXPECT_EQ(progress.pbTotal.position, 149);
  EXPECT_EQ(progress.lblPersent.text, "Current: 2 , Total: 3.");
  EXPECT_EQ(progress.ProgressBar1.minimum, 0);
  EXPECT_EQ(progress.ProgressBar1.maximum, 185);
  EXPECT_EQ(progress.ProgressBar1.position, 95);
  EXPECT_EQ(proc.RefreshCount, 2);
}

TEST_F(ProgressWindowTest, FirstChunkOfAFileChangesOnlyTheRefreshCount) {
  proc.CheckedCount = 2;
  proc.CurrentCutSeconds = "60";
  progress.ProgressBar1.position = 5;
  progress.lblPersent.text = "before";
  Refresh("size=  1kB time=30.00 bitrate= 1kbits/s");
  EXPECT_EQ(proc.RefreshCount, 1);
  EXPECT_EQ(progress.ProgressBar1.position, 5);
  EXPECT_EQ(progress.ProgressBar1.maximum, 100);
  EXPECT_EQ(progress.pbTotal.maximum, 100);
  EXPECT_EQ(progress.lblPersent.text, "before");
}

TEST_F(ProgressWindowTest, FileBarFollowsTheTimeFieldOnly) {
  struct Case {
    const char* chunk;
    int position;  // the bar starts at 10 of 60
  };
  const Case cases[] = {
      {"size=  1kB time=42.99 bitrate= 1kbits/s", 42},
      {"size=  1kB time=10000000000.00 bitrate= 1kbits/s", 10},              // the encoder's "unknown"
      {"frame=  1 fps=0 q=0.0 size=  1kB time=20.00 bitrate= 1kbits/s", 0},  // third piece: "0 q"
      {"size=  1kB time=12.00", 10},                                         // three pieces only
      {"", 10},
      {"a=b=c=d", 0},                                    // no digits: 0
      {"size=  1kB time=+-.5 bitrate= 1", 10},           // unreadable
      {"size=  1kB time=999.00 bitrate= 1kbits/s", 60},  // held within the maximum
      {"size=  1kB time=-3.00 bitrate= 1kbits/s", 0},
      {"size=  1kB time=99999999999999.00 bitrate= 1", 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chunk);
    proc.RefreshCount = 1;
    proc.CurrentCutSeconds = "60";
    progress.ProgressBar1.maximum = 60;
    progress.ProgressBar1.position = 10;
    Refresh(c.chunk);
    EXPECT_EQ(progress.ProgressBar1.position, c.position);
  }
}

TEST_F(ProgressWindowTest, JobBarEdgeCases) {
  proc.CheckedCount = 2;
  proc.ConvertedCount = 1;
  proc.RefreshCount = 1;
  // A zero-second trim: the file bar keeps maximum 0 and position 0.
  proc.CurrentCutSeconds = "0";
  progress.ProgressBar1.maximum = 0;
  progress.ProgressBar1.position = 0;
  Refresh("size=  1kB time=5.00 bitrate= 1kbits/s");
  EXPECT_EQ(progress.ProgressBar1.maximum, 0);
  EXPECT_EQ(progress.ProgressBar1.position, 0);
  EXPECT_EQ(progress.pbTotal.position, 100);
  EXPECT_EQ(progress.lblPersent.text, "Current: 2 , Total: 2.");

  // A file bar of maximum -1 (a negative trim) leaves no share to compute:
  // the job bar keeps its place and the counter its text, the file bar still moves.
  proc.CurrentCutSeconds = "-1";
  progress.ProgressBar1.SetMinimum(-5);
  progress.ProgressBar1.SetMaximum(-1);
  progress.lblPersent.text = "kept";
  progress.pbTotal.position = 7;
  Refresh("size=  1kB time=5.00 bitrate= 1kbits/s");
  EXPECT_EQ(progress.pbTotal.maximum, 200);
  EXPECT_EQ(progress.pbTotal.position, 7);
  EXPECT_EQ(progress.lblPersent.text, "kept");
  EXPECT_EQ(progress.ProgressBar1.maximum, -1);
}

TEST_F(ProgressWindowTest, SpinnerRunsEvery500MsAndTellsStartUpFromConverting) {
  std::vector<std::string> texts;
  for (int i = 0; i < 6; ++i) {
    scheduler.AdvanceBy(500);
    texts.push_back(progress.lblInfo.text);
  }
  const std::string installing = "Installing convert information  ";
  EXPECT_EQ(texts, (std::vector<std::string>{installing + "|", installing + "/", installing + "-", installing + "\\",
                                             installing + "|", installing + "|"}));
  EXPECT_EQ(form.SpinnerPhase, 1);
  scheduler.AdvanceBy(499);
  EXPECT_EQ(form.SpinnerPhase, 1);

  progress.ProgressBar1.maximum = 100;
  progress.ProgressBar1.position = 2;
  scheduler.AdvanceBy(1);
  EXPECT_EQ(progress.lblInfo.text, installing + "/");
  progress.ProgressBar1.position = 3;
  scheduler.AdvanceBy(500);
  EXPECT_EQ(progress.lblInfo.text, "Converting  -");

  // Showing the window starts the animation over.
  proc.CheckedCount = 4;
  lib.Params.SourceFile = "/in/now.avi";
  progress.window.Show();
  EXPECT_EQ(form.SpinnerPhase, 0);
  EXPECT_EQ(progress.lblCurFileName.text, "/in/now.avi");
  EXPECT_EQ(progress.lblPersent.text, "Current: 1, Total: 4");
  EXPECT_EQ(progress.ProgressBar1.maximum, 1);
  EXPECT_EQ(progress.ProgressBar1.position, 0);
  EXPECT_EQ(progress.pbTotal.maximum, 1);
  EXPECT_EQ(progress.pbTotal.position, 0);
  scheduler.AdvanceBy(500);
  EXPECT_EQ(progress.lblInfo.text, installing + "|");
}

TEST_F(ProgressWindowTest, StopEmptiesTheBarsAndTheCounter) {
  grid.AddFile("/in/a.avi", "00:01:00");
  grid.AddFile("/in/b.avi", "00:01:00");
  progress.window.Show();
  proc.JobRunning = true;
  progress.pbTotal.maximum = 300;
  progress.pbTotal.position = 120;
  progress.ProgressBar1.maximum = 60;
  progress.ProgressBar1.position = 30;
  desktop.answers = {platform::MessageAnswer::Yes};
  form.btnStop1Click();
  EXPECT_EQ(progress.ProgressBar1.position, 0);
  EXPECT_EQ(progress.pbTotal.maximum, 0);
  EXPECT_EQ(progress.pbTotal.position, 0);
  EXPECT_EQ(progress.lblPersent.text, "Current: 1, Total: ...");
  EXPECT_EQ(proc.CurrentRow, 12);
  EXPECT_FALSE(progress.window.visible);
}

TEST(EncoderStopper, PausesOnTheSchedulerAndChecksUntilNothingRuns) {
  VirtualScheduler scheduler;
  test::RecordingDesktop desktop;
  TempDir app;
  TAppFunc appFunc{app.Folder()};
  FakeEncoders encoders{scheduler};
  EncoderStopper stopper{scheduler, encoders, appFunc};
  encoders.foreign = 1;  // one encoder that runs on
  bool done = false;
  stopper.StopEncoderProcesses("/opt/My App/evc.exe", [&] { done = true; });
  EXPECT_EQ(encoders.kills, 1) << "the first termination comes at once";
  EXPECT_FALSE(done) << "the pause after it runs on the scheduler";
  scheduler.AdvanceBy(99);
  EXPECT_FALSE(done);
  scheduler.AdvanceBy(1);
  EXPECT_TRUE(done);
  // Look-ups: found, gone; then for "evc.exe": gone.
  EXPECT_EQ(encoders.lookups, 3);
  EXPECT_EQ(encoders.kills, 1);
  EXPECT_EQ(stopper.GiveUps(), 0);
}

}  // namespace
}  // namespace sonvarro
