#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "FakeControls.h"
#include "FakeCustomProfile.h"
#include "FakeEncoders.h"
#include "FakeProgressWindow.h"
#include "LogMessages.h"
#include "RecordingDesktop.h"
#include "TempDir.h"
#include "VirtualScheduler.h"
#include "engine/ConversionUnit.h"
#include "engine/OptionLists.h"
#include "engine/OutputTables.h"
#include "services/ApplicationTitle.h"

namespace sonvarro {
namespace {

using platform::MessageAnswer;
using test::FakeCheckBox;
using test::FakeEncoders;
using test::FakeOptionControls;
using test::FakeProgressWindow;
using test::FakeSourceGrid;
using test::FakeTextField;
using test::FakeWindow;
using test::LogMessagesStartingWith;
using test::RecordingDesktop;
using test::TempDir;
using test::VirtualScheduler;

class ConversionJobTest : public testing::Test {
 protected:
  void SetUp() override {
    FillOptionLists(options.controls, {});
    options.outputFiletype.SetItemIndex(kOutputMp3);
    ApplyProfile(options.controls, {});
    outputFolder.text = out.Folder();
    progress.Wire(form.Events());
  }

  void AddRows(std::initializer_list<const char*> names) {
    for (const char* name : names) grid.AddFile(std::string("/in/") + name + ".avi", "00:01:00");
  }

  std::vector<std::string> Parameters() { return LogMessagesStartingWith(app.Folder(), "parameter: "); }

  std::vector<int64_t> EncoderStarts() {
    std::vector<int64_t> starts;
    for (const auto& run : encoders.runs) starts.push_back(run->startedAt);
    return starts;
  }

  // Lets virtual time run until the job has started its nth encoder.
  testing::AssertionResult UntilEncoder(size_t n) {
    for (int i = 0; i < 1000 && encoders.runs.size() < n; ++i) scheduler.AdvanceBy(100);
    if (encoders.runs.size() == n) return testing::AssertionSuccess();
    return testing::AssertionFailure() << encoders.runs.size() << " encoders started, expected " << n;
  }

  // The newest encoder leaves a file at its output, as an encoder does once
  // it has begun; returns its path.
  std::string WriteOutput(const std::string& content = "partial") {
    const std::string output = encoders.runs.back()->command.output;
    std::ofstream(output) << content;
    return output;
  }

  std::vector<std::string> ConvertErrors() { return LogMessagesStartingWith(app.Folder(), "Convert error. ->"); }

  testing::AssertionResult UntilFinished() {
    for (int i = 0; i < 1000 && job.Running(); ++i) scheduler.AdvanceBy(100);
    if (!job.Running()) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the job is still running";
  }

  RecordingDesktop desktop;
  VirtualScheduler scheduler;
  TempDir app, out;
  FakeSourceGrid grid;
  FakeOptionControls options;
  FakeTextField outputFolder;
  FakeCheckBox chkShowOutputDirectory, chkShutdown;
  FakeWindow mainWindow;
  FakeProgressWindow progress;
  TAppFunc appFunc{app.Folder()};
  TCommonLib lib{app.Folder(), appFunc, desktop};
  TFileFunc fileFunc;
  TCustomProc proc;
  FakeEncoders encoders{scheduler};
  test::FakeCustomProfile customProfile;
  int quits = 0;
  int finished = 0;

  // A conversion like the program's, on these fakes, with the given log and runners.
  std::unique_ptr<ConversionUnit> MakeUnit(TAppFunc& log, AdvanceSystemFactory runners) {
    return std::make_unique<ConversionUnit>(
        ConversionInputs{grid, options.controls, outputFolder, chkShowOutputDirectory, chkShutdown, mainWindow},
        progress.controls,
        ConversionServices{scheduler, proc, lib, log, fileFunc, encoders, customProfile, desktop, std::move(runners),
                           [this] { ++quits; }, [this] { ++finished; }});
  }

  std::unique_ptr<ConversionUnit> unit = MakeUnit(appFunc, encoders.Factory());
  TfrmConverting& form = unit->ProgressBehaviour();
  ConversionJob& job = unit->Job();
};

TEST_F(ConversionJobTest, CheckedRowsRunInOrderWithThePausesBetweenTheSteps) {
  AddRows({"a", "b", "c", "d"});
  grid.rows[1][kColCheck] = kUncheckedText;
  chkShowOutputDirectory.checked = true;

  ASSERT_TRUE(job.btnConvertClick(grid));
  EXPECT_EQ(proc.CheckedCount, 3);
  EXPECT_EQ(Parameters().size(), 1u);  // built and logged at once
  EXPECT_TRUE(progress.window.visible);
  EXPECT_FALSE(mainWindow.enabled);
  EXPECT_EQ(progress.lblCurFileName.text, "/in/a.avi");
  EXPECT_EQ(progress.lblPersent.text, "Current: 1, Total: 3");
  EXPECT_FALSE(job.btnConvertClick(grid)) << "a second job while one runs";

  scheduler.AdvanceBy(1999);
  EXPECT_TRUE(encoders.runs.empty());
  scheduler.AdvanceBy(1);
  ASSERT_EQ(encoders.runs.size(), 1u);
  EXPECT_EQ(encoders.runs[0]->command.text, proc.CommandLine.text);
  EXPECT_EQ(encoders.runs[0]->workingFolder, app.Folder());

  // The first encoder ends within the 3000 ms pause: the wait does not pause
  // again, and the unchecked row costs no time.
  scheduler.AdvanceBy(2000);
  ASSERT_TRUE(encoders.EndCurrent());
  scheduler.AdvanceBy(1000);
  EXPECT_EQ(proc.ConvertedCount, 1);
  EXPECT_EQ(proc.CurrentRow, 2);
  EXPECT_EQ(encoders.runnersAlive, 0);
  ASSERT_TRUE(UntilEncoder(2));

  // The second runs on past the pause; the job looks every 100 ms.
  scheduler.AdvanceBy(3050);
  ASSERT_TRUE(encoders.EndCurrent());
  ASSERT_TRUE(UntilEncoder(3));
  ASSERT_TRUE(encoders.EndCurrent());
  ASSERT_TRUE(UntilFinished());

  EXPECT_EQ(EncoderStarts(), (std::vector<int64_t>{2000, 7000, 12100}));
  const std::string encoder = app.Folder() + "evc.exe -y -i ";
  const std::vector<std::string> parameters = Parameters();
  ASSERT_EQ(parameters.size(), 3u);
  EXPECT_EQ(parameters[0].rfind("parameter: " + encoder + "\"/in/a.avi\"", 0), 0u) << parameters[0];
  EXPECT_EQ(parameters[1].rfind("parameter: " + encoder + "\"/in/c.avi\"", 0), 0u) << parameters[1];
  EXPECT_EQ(parameters[2].rfind("parameter: " + encoder + "\"/in/d.avi\"", 0), 0u) << parameters[2];
  EXPECT_EQ(proc.ConvertedCount, 3);
  EXPECT_EQ(proc.CurrentRow, 4);
  EXPECT_EQ(progress.window.shows, 1);
  EXPECT_FALSE(progress.window.visible);
  EXPECT_TRUE(mainWindow.enabled);
  EXPECT_EQ(desktop.openedFolders, std::vector<std::string>{out.Folder()});
  EXPECT_EQ(desktop.powerOffs, 0);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(encoders.runnersAlive, 0);
  EXPECT_EQ(proc.FailedCount, 0);
  EXPECT_TRUE(ConvertErrors().empty());
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ConversionJobTest, FailedRowsAreLoggedListedBeforeTheAfterActionsAndLeaveNoOutput) {
  AddRows({"a", "b", "c", "d"});
  chkShowOutputDirectory.checked = true;
  job.btnConvertClick(grid);

  ASSERT_TRUE(UntilEncoder(1));
  const std::string failedOutput = WriteOutput();
  ASSERT_TRUE(encoders.EndCurrent(3, "evc: no audio could be decoded from input \"/in/a.avi\""));
  ASSERT_TRUE(UntilEncoder(2));
  const std::string goodOutput = WriteOutput("good");
  ASSERT_TRUE(encoders.EndCurrent(0, "size=  10kB time=60.00 bitrate= 1kbits/s"));
  encoders.startError = "No such file or directory";
  ASSERT_TRUE(UntilEncoder(3));
  encoders.startError.clear();
  ASSERT_TRUE(UntilEncoder(4));  // the job went on without waiting for an encoder that never ran
  ASSERT_TRUE(encoders.EndCurrent(1));

  bool folderOpenedBeforeTheMessage = false;
  desktop.whileOpen = [&](const RecordingDesktop::Message&) {
    folderOpenedBeforeTheMessage = !desktop.openedFolders.empty();
    EXPECT_TRUE(job.Running());
  };
  ASSERT_TRUE(UntilFinished());

  EXPECT_EQ(ConvertErrors(), (std::vector<std::string>{
                                 "Convert error. ->/in/a.avi, exit status 3: evc: no audio could be decoded from "
                                 "input \"/in/a.avi\"",
                                 "Convert error. ->/in/c.avi, not started: No such file or directory",
                                 "Convert error. ->/in/d.avi, exit status 1",
                             }));
  EXPECT_EQ(proc.ConvertedCount, 4);
  EXPECT_EQ(proc.FailedCount, 3);
  EXPECT_FALSE(std::filesystem::exists(failedOutput)) << "a failed encoder's output is removed";
  EXPECT_TRUE(std::filesystem::exists(goodOutput));

  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].caption, kApplicationTitle);
  EXPECT_EQ(desktop.messages[0].icon, platform::MessageIcon::Warning);
  EXPECT_EQ(desktop.messages[0].buttons, platform::MessageButtons::Ok);
  EXPECT_EQ(desktop.messages[0].text,
            "These files could not be converted:\n/in/a.avi\n/in/c.avi\n/in/d.avi\n\nThe reasons are in log.txt.");
  EXPECT_EQ(desktop.messages[0].closeAfterMs, 0) << "without the power-off it waits for the user";
  EXPECT_FALSE(folderOpenedBeforeTheMessage);
  EXPECT_EQ(desktop.openedFolders, std::vector<std::string>{out.Folder()});
  EXPECT_EQ(finished, 1);

  // The next job starts with a clean slate.
  grid.rows.erase(grid.rows.begin() + 1, grid.rows.end());
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(5));
  ASSERT_TRUE(encoders.EndCurrent());
  ASSERT_TRUE(UntilFinished());
  EXPECT_EQ(proc.FailedCount, 0);
  EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(ConversionJobTest, AKilledEncoderOrOneThatLeftNoOutputFailsItsRowAndTheJobGoesOn) {
  AddRows({"killed", "nothing", "empty", "good"});
  job.btnConvertClick(grid);

  ASSERT_TRUE(UntilEncoder(1));
  const std::string killedOutput = WriteOutput();
  ASSERT_TRUE(encoders.KillProcess("evc.exe"));  // SIGKILL
  ASSERT_TRUE(UntilEncoder(2));
  const std::string missingOutput = encoders.runs.back()->command.output;
  std::filesystem::remove(missingOutput);
  encoders.leavesNoOutput = true;
  ASSERT_TRUE(encoders.EndCurrent(0));
  ASSERT_TRUE(UntilEncoder(3));
  const std::string emptyOutput = encoders.runs.back()->command.output;
  ASSERT_TRUE(std::filesystem::exists(emptyOutput)) << "the name is reserved before the encoder starts";
  ASSERT_TRUE(encoders.EndCurrent(0, "size=  0kB time=00.00 bitrate= 0kbits/s"));
  encoders.leavesNoOutput = false;
  ASSERT_TRUE(UntilEncoder(4));
  ASSERT_TRUE(encoders.EndCurrent(0));
  const std::string goodOutput = encoders.runs.back()->command.output;
  ASSERT_TRUE(UntilFinished());

  EXPECT_EQ(ConvertErrors(),
            (std::vector<std::string>{
                "Convert error. ->/in/killed.avi, exit status 137 (Killed)",
                "Convert error. ->/in/nothing.avi, exit status 0, no output written",
                "Convert error. ->/in/empty.avi, exit status 0, no output written: size=  0kB time=00.00 "
                "bitrate= 0kbits/s",
            }));
  EXPECT_EQ(proc.FailedCount, 3);
  EXPECT_EQ(proc.ConvertedCount, 4);
  EXPECT_FALSE(std::filesystem::exists(killedOutput)) << "a killed encoder's partial output is removed";
  EXPECT_FALSE(std::filesystem::exists(emptyOutput)) << "an empty output is no converted file";
  EXPECT_FALSE(std::filesystem::exists(missingOutput));
  EXPECT_GT(std::filesystem::file_size(goodOutput), 0u);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            "These files could not be converted:\n/in/killed.avi\n/in/nothing.avi\n/in/empty.avi\n\nThe reasons are "
            "in log.txt.");
}

TEST_F(ConversionJobTest, AnOutputFolderGoneInTheMiddleFailsTheRemainingRowsWithoutAnEncoder) {
  const std::string stick = out.Folder() + "stick/";
  outputFolder.text = stick;
  AddRows({"a", "b", "c"});
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  std::filesystem::remove_all(stick);
  encoders.leavesNoOutput = true;  // it wrote into the folder that went
  ASSERT_TRUE(encoders.EndCurrent(0));
  ASSERT_TRUE(UntilFinished());

  EXPECT_EQ(encoders.runs.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(stick)) << "the folder was made again";
  EXPECT_EQ(Parameters().size(), 1u);
  EXPECT_EQ(ConvertErrors(), (std::vector<std::string>{
                                 "Convert error. ->/in/a.avi, exit status 0, no output written",
                                 "Convert error. ->/in/b.avi, the output folder is gone: " + stick,
                                 "Convert error. ->/in/c.avi, the output folder is gone: " + stick,
                             }));
  EXPECT_EQ(proc.FailedCount, 3);
  EXPECT_EQ(proc.ConvertedCount, 3);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_FALSE(progress.window.visible);
  EXPECT_TRUE(mainWindow.enabled);

  // The next job makes the folder again, as any job does.
  encoders.leavesNoOutput = false;
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(2));
  EXPECT_TRUE(std::filesystem::is_directory(stick));
  for (size_t n = 2; n <= 4; ++n) {
    ASSERT_TRUE(UntilEncoder(n));
    ASSERT_TRUE(encoders.EndCurrent());
  }
  ASSERT_TRUE(UntilFinished());
  EXPECT_EQ(proc.FailedCount, 0);
}

TEST_F(ConversionJobTest, ManyFailuresListTenAndTheMessageDoesNotHoldUpThePowerOff) {
  std::vector<std::string> names;
  for (int i = 1; i <= 12; ++i) names.push_back("f" + std::to_string(i));
  for (const std::string& name : names) grid.AddFile("/in/" + name + ".avi", "00:01:00");
  chkShutdown.checked = true;
  job.btnConvertClick(grid);
  for (size_t n = 1; n <= names.size(); ++n) {
    ASSERT_TRUE(UntilEncoder(n));
    ASSERT_TRUE(encoders.EndCurrent(3, "evc: cannot decode"));
  }
  desktop.answers = {MessageAnswer::None};  // nobody there: the box closed itself
  for (int i = 0; i < 1000 && quits == 0; ++i) scheduler.AdvanceBy(100);

  ASSERT_EQ(desktop.messages.size(), 1u);
  std::string expected = "These files could not be converted:\n";
  for (int i = 0; i < 10; ++i) expected += "/in/" + names[i] + ".avi\n";
  expected += "and 2 more\n\nThe reasons are in log.txt.";
  EXPECT_EQ(desktop.messages[0].text, expected);
  EXPECT_EQ(desktop.messages[0].closeAfterMs, 60000);
  EXPECT_EQ(ConvertErrors().size(), 12u);
  EXPECT_EQ(proc.FailedCount, 12);
  EXPECT_EQ(desktop.powerOffs, 1);
  EXPECT_EQ(quits, 1);
}

// The row the user stops is no failed row, but what its killed encoder left
// behind goes all the same; the rows that failed before are listed only when
// the after-job actions run.
struct StoppedRowCase {
  const char* name;
  bool viaClose;
};

class ConversionJobStoppedRowTest : public ConversionJobTest, public ::testing::WithParamInterface<StoppedRowCase> {};

TEST_P(ConversionJobStoppedRowTest, TheStoppedRowLeavesNoOutputAndIsNoFailure) {
  const StoppedRowCase& c = GetParam();
  AddRows({"a", "b", "c"});
  chkShutdown.checked = !c.viaClose;  // Stop skips the power-off
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  ASSERT_TRUE(encoders.EndCurrent(3, "evc: cannot decode"));
  ASSERT_TRUE(UntilEncoder(2));
  const std::string partial = WriteOutput();
  scheduler.AdvanceBy(3500);
  desktop.answers = {MessageAnswer::Yes};
  if (c.viaClose)
    form.FormClose();
  else
    form.btnStop1Click();
  ASSERT_TRUE(UntilFinished());

  EXPECT_FALSE(std::filesystem::exists(partial));
  EXPECT_EQ(ConvertErrors(), std::vector<std::string>{"Convert error. ->/in/a.avi, exit status 3: evc: cannot decode"});
  EXPECT_EQ(proc.FailedCount, 1);
  EXPECT_EQ(proc.ConvertedCount, 2);
  // The rows that failed before the stop failed all the same.
  ASSERT_EQ(desktop.messages.size(), 2u) << "the question, then the list";
  EXPECT_EQ(desktop.messages[1].text, "These files could not be converted:\n/in/a.avi\n\nThe reasons are in log.txt.");
  EXPECT_EQ(desktop.messages[1].closeAfterMs, 0) << "no power-off follows, so the box waits";
  EXPECT_EQ(desktop.powerOffs, 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, ConversionJobStoppedRowTest,
                         ::testing::Values(StoppedRowCase{"Stop", false}, StoppedRowCase{"Close", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConversionJobTest, EncoderOutputReachesTheWindowOnlyThroughTheScheduler) {
  AddRows({"a"});
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  progress.lblCurFileName.text = "";
  ASSERT_TRUE(encoders.Print("banner"));
  EXPECT_EQ(progress.statState.text, "");
  scheduler.RunPending();
  EXPECT_EQ(progress.statState.text, "banner");
  EXPECT_EQ(progress.lblCurFileName.text, "/in/a.avi");
  EXPECT_EQ(proc.RefreshCount, 1);
  ASSERT_TRUE(encoders.Print("size=  10kB time=7.50 bitrate= 1kbits/s"));
  scheduler.RunPending();
  EXPECT_EQ(proc.RefreshCount, 2);
  EXPECT_EQ(progress.ProgressBar1.position, 7);
  EXPECT_EQ(progress.ProgressBar1.maximum, 60);
}

TEST_F(ConversionJobTest, TheFileBarStaysEmptyUntilTheNextRowsEncoderPrints) {
  AddRows({"a", "b"});
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  ASSERT_TRUE(encoders.Print("banner"));
  ASSERT_TRUE(encoders.Print("size=  10kB time=60.00 bitrate= 1kbits/s"));
  scheduler.RunPending();
  ASSERT_EQ(progress.ProgressBar1.position, 60);
  ASSERT_TRUE(encoders.EndCurrent());

  // The pause before the second encoder: a refresh then (the spinner's, or a
  // late chunk of the first encoder) must not read the first file's end.
  for (int i = 0; i < 100 && Parameters().size() < 2; ++i) scheduler.AdvanceBy(100);
  ASSERT_EQ(Parameters().size(), 2u);
  ASSERT_EQ(encoders.runs.size(), 1u);
  EXPECT_EQ(progress.statState.text, "");
  form.actRefreshProgressExecute();
  form.actRefreshProgressExecute();
  EXPECT_EQ(progress.ProgressBar1.position, 0);

  ASSERT_TRUE(UntilEncoder(2));
  EXPECT_EQ(progress.ProgressBar1.position, 0);
  ASSERT_TRUE(encoders.Print("size=  1kB time=4.00 bitrate= 1kbits/s"));
  scheduler.RunPending();
  EXPECT_EQ(progress.ProgressBar1.position, 4);
}

TEST_F(ConversionJobTest, WithNoRowCheckedTheUserIsToldAndNothingOpens) {
  AddRows({"a", "b"});
  for (auto& row : grid.rows) row[kColCheck] = kUncheckedText;
  chkShowOutputDirectory.checked = true;
  chkShutdown.checked = true;
  ASSERT_TRUE(job.btnConvertClick(grid));
  ASSERT_TRUE(UntilFinished());
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, kNothingCheckedWarning);
  EXPECT_TRUE(encoders.runs.empty());
  EXPECT_TRUE(Parameters().empty());
  EXPECT_TRUE(desktop.openedFolders.empty());
  EXPECT_EQ(desktop.powerOffs, 0);
  EXPECT_EQ(finished, 1);
  EXPECT_TRUE(mainWindow.enabled);
}

TEST_F(ConversionJobTest, EndingForExitEndsTheEncoderAndRemovesItsHalfWrittenFile) {
  AddRows({"a", "b"});
  chkShowOutputDirectory.checked = true;
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  ASSERT_TRUE(encoders.EndCurrent());
  ASSERT_TRUE(UntilEncoder(2));
  const std::string finishedOutput = encoders.runs[0]->command.output;
  std::ofstream(finishedOutput) << "whole";
  const std::string partial = WriteOutput();
  scheduler.AdvanceBy(4000);

  job.EndForExit();
  EXPECT_FALSE(job.Running());
  EXPECT_FALSE(progress.window.visible) << "nothing is left to ask whether it may close";
  EXPECT_FALSE(std::filesystem::exists(partial));
  EXPECT_TRUE(std::filesystem::exists(finishedOutput)) << "a converted file stays";
  EXPECT_EQ(encoders.runnersAlive, 0);
  EXPECT_FALSE(encoders.runs[1]->running) << "the encoder was ended";
  scheduler.AdvanceBy(60000);
  EXPECT_EQ(encoders.runs.size(), 2u) << "nothing more starts";
  EXPECT_TRUE(desktop.openedFolders.empty());
  job.EndForExit();  // a second close finds nothing to do
}

TEST_F(ConversionJobTest, StopDuringTheSecondOfThreeEndsTheJobWithoutItsAfterActions) {
  AddRows({"a", "b", "c"});
  chkShowOutputDirectory.checked = true;
  chkShutdown.checked = true;
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  ASSERT_TRUE(encoders.EndCurrent());
  ASSERT_TRUE(UntilEncoder(2));
  scheduler.AdvanceBy(4000);  // the second encoder runs, the job waits for it

  desktop.answers = {MessageAnswer::Yes};
  form.btnStop1Click();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].caption, kApplicationTitle);
  EXPECT_EQ(desktop.messages[0].text, "Are you sure you want to stop the work ? ");
  EXPECT_EQ(desktop.messages[0].icon, platform::MessageIcon::Question);
  EXPECT_EQ(desktop.messages[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_TRUE(proc.StopRequested);
  EXPECT_EQ(proc.CurrentRow, 13);
  EXPECT_FALSE(progress.window.visible);
  EXPECT_TRUE(mainWindow.enabled);
  EXPECT_TRUE(encoders.runs[1]->terminateAsked);
  EXPECT_FALSE(encoders.runs[1]->running) << "the encoder is terminated at once";

  ASSERT_TRUE(UntilFinished());
  EXPECT_EQ(encoders.runs.size(), 2u) << "the third row never starts";
  EXPECT_EQ(proc.ConvertedCount, 2);
  EXPECT_EQ(Parameters().size(), 2u);
  EXPECT_TRUE(desktop.openedFolders.empty());
  EXPECT_EQ(desktop.powerOffs, 0);
  EXPECT_EQ(quits, 0);
  EXPECT_FALSE(proc.StopRequested);
  EXPECT_EQ(finished, 1);
  scheduler.AdvanceBy(1000);  // the stop's own look-ups have ended too

  // The next job runs normally, after-job actions included.
  chkShutdown.checked = false;
  ASSERT_TRUE(job.btnConvertClick(grid));
  for (size_t n = 3; n <= 5; ++n) {
    ASSERT_TRUE(UntilEncoder(n));
    ASSERT_TRUE(encoders.EndCurrent());
  }
  ASSERT_TRUE(UntilFinished());
  EXPECT_EQ(proc.ConvertedCount, 3);
  EXPECT_EQ(desktop.openedFolders, std::vector<std::string>{out.Folder()});
}

TEST_F(ConversionJobTest, ClosingTheProgressWindowEndsTheJobAfterThisRowWithItsAfterActions) {
  AddRows({"a", "b", "c"});
  chkShowOutputDirectory.checked = true;
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  ASSERT_TRUE(encoders.EndCurrent());
  ASSERT_TRUE(UntilEncoder(2));
  scheduler.AdvanceBy(3500);

  desktop.answers = {MessageAnswer::Yes};
  form.FormClose();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Are you sure to stop processing ?");
  EXPECT_EQ(desktop.messages[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_FALSE(proc.StopRequested);
  EXPECT_FALSE(progress.window.visible);
  EXPECT_TRUE(mainWindow.enabled);

  ASSERT_TRUE(UntilFinished());
  EXPECT_EQ(encoders.runs.size(), 2u);
  EXPECT_EQ(proc.ConvertedCount, 2);
  EXPECT_EQ(desktop.openedFolders, std::vector<std::string>{out.Folder()});
}

TEST_F(ConversionJobTest, AnsweringNoChangesNothing) {
  AddRows({"a", "b"});
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  scheduler.AdvanceBy(3500);
  progress.lblPersent.text = "Current: 1 , Total: 2.";
  desktop.answers = {MessageAnswer::No, MessageAnswer::No};
  form.btnStop1Click();
  form.FormClose();
  EXPECT_EQ(desktop.messages.size(), 2u);
  EXPECT_TRUE(progress.window.visible);
  EXPECT_FALSE(mainWindow.enabled);
  EXPECT_EQ(proc.CurrentRow, 0);
  EXPECT_FALSE(proc.StopRequested);
  EXPECT_TRUE(encoders.runs[0]->running);
  EXPECT_EQ(encoders.kills, 0);
  EXPECT_EQ(progress.lblPersent.text, "Current: 1 , Total: 2.");
  ASSERT_TRUE(encoders.EndCurrent());
  ASSERT_TRUE(UntilEncoder(2));
}

// While the Stop or close question is open, the job holds still: the encoder
// may end meanwhile, but no step runs, no encoder starts and no after-job
// action happens until the answer.
struct HoldCase {
  const char* name;
  bool viaClose;  // the window's close request instead of Stop
  MessageAnswer answer;
  size_t encodersAfterAnswer;  // the second row starts unless the answer stops the job
  bool folderOpened;
};

class ConversionJobHoldTest : public ConversionJobTest, public ::testing::WithParamInterface<HoldCase> {};

TEST_P(ConversionJobHoldTest, TheJobHoldsWhileItsQuestionIsOpen) {
  const HoldCase& c = GetParam();
  AddRows({"a", "b"});
  chkShowOutputDirectory.checked = true;
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  scheduler.AdvanceBy(3500);
  desktop.answers = {c.answer};
  desktop.whileOpen = [&](const RecordingDesktop::Message&) {
    EXPECT_TRUE(encoders.EndCurrent());
    scheduler.AdvanceBy(60000);
    EXPECT_EQ(encoders.runs.size(), 1u) << "no encoder starts under the question";
    EXPECT_TRUE(job.Running());
    EXPECT_TRUE(progress.window.visible);
    EXPECT_TRUE(desktop.openedFolders.empty());
  };
  if (c.viaClose)
    form.FormClose();
  else
    form.btnStop1Click();
  desktop.whileOpen = nullptr;

  if (c.encodersAfterAnswer > 1) {
    ASSERT_TRUE(UntilEncoder(c.encodersAfterAnswer));
    ASSERT_TRUE(encoders.EndCurrent());
  }
  ASSERT_TRUE(UntilFinished());
  EXPECT_EQ(encoders.runs.size(), c.encodersAfterAnswer);
  EXPECT_EQ(desktop.openedFolders.size(), c.folderOpened ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Answers, ConversionJobHoldTest,
                         ::testing::Values(HoldCase{"StopNo", false, MessageAnswer::No, 2, true},
                                           HoldCase{"StopYes", false, MessageAnswer::Yes, 1, false},
                                           HoldCase{"CloseNo", true, MessageAnswer::No, 2, true},
                                           HoldCase{"CloseYes", true, MessageAnswer::Yes, 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConversionJobTest, AYesAfterTheJobHasEndedChangesNothingForTheNext) {
  AddRows({"a"});
  chkShowOutputDirectory.checked = true;
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  ASSERT_TRUE(encoders.EndCurrent());
  ASSERT_TRUE(UntilFinished());
  ASSERT_EQ(desktop.openedFolders.size(), 1u);

  desktop.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  form.btnStop1Click();
  form.FormClose();
  EXPECT_FALSE(proc.StopRequested);
  EXPECT_EQ(encoders.kills, 0);
  EXPECT_EQ(proc.CurrentRow, 1);

  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(2));
  ASSERT_TRUE(encoders.EndCurrent());
  ASSERT_TRUE(UntilFinished());
  EXPECT_EQ(desktop.openedFolders.size(), 2u) << "the next job's after-job actions run";
}

TEST_F(ConversionJobTest, AStopLeftOverFromBeforeIsClearedWhenAJobStarts) {
  AddRows({"a"});
  chkShowOutputDirectory.checked = true;
  proc.StopRequested = true;
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  ASSERT_TRUE(encoders.EndCurrent());
  ASSERT_TRUE(UntilFinished());
  EXPECT_EQ(desktop.openedFolders.size(), 1u);
}

TEST_F(ConversionJobTest, AFailedStepEndsTheJobCleanlyAndTheNextConvertWorks) {
  AddRows({"a", "b"});
  chkShowOutputDirectory.checked = true;
  const AdvanceSystemFactory working = encoders.Factory();
  bool failNext = false;
  const auto failingUnit =
      MakeUnit(appFunc, [&](const EncoderCommand& command, EncoderOutputCallback onOutput, const std::string& folder) {
        if (failNext) throw std::runtime_error("Cannot start the encoder.");
        return working(command, std::move(onOutput), folder);
      });
  ConversionJob& failing = failingUnit->Job();
  failing.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  failNext = true;
  ASSERT_TRUE(encoders.EndCurrent());
  for (int i = 0; i < 100 && failing.Running(); ++i) scheduler.AdvanceBy(100);

  EXPECT_FALSE(failing.Running());
  ASSERT_EQ(desktop.messages.size(), 1u) << "the step's error reaches the one handler";
  EXPECT_EQ(desktop.messages[0].caption, kApplicationTitle);
  EXPECT_EQ(desktop.messages[0].text, "Cannot start the encoder.");
  EXPECT_EQ(desktop.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_FALSE(progress.window.visible);
  EXPECT_TRUE(mainWindow.enabled);
  EXPECT_TRUE(desktop.openedFolders.empty()) << "a failed job is no finished job";

  failNext = false;
  ASSERT_TRUE(failing.btnConvertClick(grid));
  for (size_t n = 2; n <= 3; ++n) {
    for (int i = 0; i < 1000 && encoders.runs.size() < n; ++i) scheduler.AdvanceBy(100);
    ASSERT_TRUE(encoders.EndCurrent());
  }
  for (int i = 0; i < 100 && failing.Running(); ++i) scheduler.AdvanceBy(100);
  EXPECT_EQ(desktop.openedFolders.size(), 1u);
}

TEST_F(ConversionJobTest, AStepThatFailsWhileItsEncoderRunsStopsThatEncoder) {
  AddRows({"a", "b"});
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  encoders.lookupsFail = true;
  scheduler.AdvanceBy(3000);  // the first look for a running encoder fails
  EXPECT_FALSE(job.Running());
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "The process list cannot be read.");
  EXPECT_FALSE(encoders.runs[0]->running) << "the job's encoder is stopped";
  EXPECT_EQ(encoders.runnersAlive, 0);
  EXPECT_TRUE(mainWindow.enabled);
  EXPECT_FALSE(progress.window.visible);
  scheduler.AdvanceBy(60000);
  EXPECT_EQ(encoders.runs.size(), 1u) << "the second row never starts";
}

TEST_F(ConversionJobTest, AnUnwritableLogNeverStopsTheJob) {
  TAppFunc brokenLog(app.Folder() + "missing/");
  const auto loglessUnit = MakeUnit(brokenLog, encoders.Factory());
  ConversionJob& logless = loglessUnit->Job();
  AddRows({"a", "b"});
  testing::internal::CaptureStderr();
  logless.btnConvertClick(grid);
  for (size_t n = 1; n <= 2; ++n) {
    for (int i = 0; i < 1000 && encoders.runs.size() < n; ++i) scheduler.AdvanceBy(100);
    ASSERT_TRUE(encoders.EndCurrent());
  }
  for (int i = 0; i < 100 && logless.Running(); ++i) scheduler.AdvanceBy(100);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("log lines are lost"), std::string::npos);
  EXPECT_EQ(encoders.runs.size(), 2u);
  EXPECT_EQ(proc.ConvertedCount, 2);
  EXPECT_FALSE(logless.Running());
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ConversionJobTest, StopBeforeTheEncoderStartsKeepsItFromStarting) {
  AddRows({"a", "b"});
  job.btnConvertClick(grid);
  scheduler.AdvanceBy(1000);
  desktop.answers = {MessageAnswer::Yes};
  form.btnStop1Click();
  ASSERT_TRUE(UntilFinished());
  EXPECT_TRUE(encoders.runs.empty());
  EXPECT_EQ(proc.ConvertedCount, 1);
  EXPECT_EQ(finished, 1);
}

TEST_F(ConversionJobTest, AnEmptyListOnlyWarns) {
  ASSERT_TRUE(job.btnConvertClick(grid));
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Please add media files you want to convert into the list.");
  EXPECT_EQ(desktop.messages[0].icon, platform::MessageIcon::Warning);
  EXPECT_EQ(desktop.messages[0].buttons, platform::MessageButtons::Ok);
  EXPECT_EQ(progress.window.shows, 0);
  EXPECT_TRUE(mainWindow.enabled);
  EXPECT_FALSE(job.Running());
  EXPECT_EQ(finished, 1);
  EXPECT_TRUE(Parameters().empty());
}

TEST_F(ConversionJobTest, ShutdownPowersOffAndEndsTheProgramAtOnce) {
  AddRows({"a"});
  chkShutdown.checked = true;
  chkShowOutputDirectory.checked = true;
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  ASSERT_TRUE(encoders.EndCurrent());
  for (int i = 0; i < 100 && quits == 0; ++i) scheduler.AdvanceBy(100);
  EXPECT_EQ(desktop.openedFolders.size(), 1u);
  EXPECT_EQ(desktop.powerOffs, 1);
  EXPECT_EQ(quits, 1);
  EXPECT_EQ(finished, 0) << "nothing else runs after the power-off";
}

TEST_F(ConversionJobTest, AnEncoderThatCannotBeEndedIsGivenUpAndTheJobEnds) {
  AddRows({"a", "b"});
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  encoders.foreign = 1;  // another evc.exe that no termination ends
  encoders.killable = false;
  scheduler.AdvanceBy(3500);
  desktop.answers = {MessageAnswer::Yes};
  form.btnStop1Click();
  ASSERT_TRUE(UntilFinished());
  EXPECT_EQ(encoders.runs.size(), 1u);
  // 50 attempts per name: the encoder's path, then "evc.exe" (the second stop
  // call of the Stop button follows after the job has ended).
  scheduler.AdvanceBy(60000);
  const auto giveUps = LogMessagesStartingWith(app.Folder(), "Stop encoder: evc.exe still runs after 50");
  EXPECT_EQ(giveUps.size(), 4u);
  EXPECT_EQ(encoders.kills, 200);
  EXPECT_EQ(scheduler.PendingTimers(), 1u) << "only the spinner is left";
}

TEST_F(ConversionJobTest, AnotherEncoderOnTheMachineKeepsTheJobWaiting) {
  AddRows({"a"});
  encoders.foreign = 1;
  job.btnConvertClick(grid);
  ASSERT_TRUE(UntilEncoder(1));
  ASSERT_TRUE(encoders.EndCurrent());
  scheduler.AdvanceBy(20000);
  EXPECT_TRUE(job.Running());
  encoders.foreign = 0;
  ASSERT_TRUE(UntilFinished());
}

}  // namespace
}  // namespace sonvarro
