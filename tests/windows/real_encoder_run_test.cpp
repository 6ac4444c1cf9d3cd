#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "CollectedOutput.h"
#include "CommandLineRig.h"
#include "VirtualScheduler.h"
#include "WaitUntil.h"
#include "engine/AdvanceSystem.h"
#include "engine/EncoderProcesses.h"
#include "engine/EncoderProgress.h"
#include "engine/EncoderStopper.h"
#include "engine/OutputTables.h"
#include "services/platform/ExecutableFolder.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;

// The real evc.exe of this build run by the engine on Windows, as the
// program runs it: the builder's command line, the runner's pipe, the status
// lines, the lookup by name and the stopper.
class RealEncoderRun : public testing::Test, protected test::CommandLineRig {
 protected:
  void SetUp() override {
    const fs::path here = fs::u8path(platform::ExecutableFolder());
    fs::copy_file(here / fs::u8path(SONVARRO_WINDOWS_EVC), fs::u8path(app.Folder() + "evc.exe"));
    options.outputFiletype.SetItemIndex(kOutputMp3);
    options.profile.SetItemIndex(2);
    ApplyProfile(options.controls, {});
  }

  // The generated tone under a name the shell would mangle, in a folder of its own.
  std::string Source(const char* media) {
    const std::string source = sources.Folder() + "it's “Grüße” & 100% Ωmega.wav";
    fs::copy_file(fs::u8path(platform::ExecutableFolder()) / fs::u8path(media), fs::u8path(source));
    return source;
  }

  test::TempDir sources;
  test::CollectedOutput encoderOutput;
};

TEST_F(RealEncoderRun, ConvertsTheTrimmedRangeAndReportsItsProgress) {
  const std::string source = Source(SONVARRO_WINDOWS_SHORT_TONE);
  grid.AddFile(source, "00:00:08", "00:00:02", "00:00:07");
  const EncoderCommand command = builder.BuildCommandLine(source);
  ASSERT_EQ(command.args.back(), out.Folder() + "it's “Grüße” & 100% Ωmega.mp3");

  TAdvanceSystem runner(command, encoderOutput.Collect(), app.Folder(), std::chrono::milliseconds(10));
  runner.Resume();
  ASSERT_TRUE(test::WaitUntil([&] { return runner.Finished(); }, std::chrono::seconds(60)));
  EXPECT_TRUE(runner.Outcome().Succeeded()) << encoderOutput.Text();
  // The last status line names the whole range converted.
  const std::string output = encoderOutput.Text();
  const size_t last = output.rfind("size=");
  ASSERT_NE(last, std::string::npos) << output;
  EXPECT_EQ(EncoderSeconds(output.substr(last, output.find_first_of("\r\n", last) - last)), 5) << output;
  EXPECT_GT(fs::file_size(fs::u8path(command.args.back())), 10000u);
}

TEST_F(RealEncoderRun, TheStopperEndsTheEncoderFoundByItsName) {
  const std::string source = Source(SONVARRO_WINDOWS_LONG_TONE);
  grid.AddFile(source, "00:10:00", "00:00:00", "00:10:00");
  const EncoderCommand command = builder.BuildCommandLine(source);

  TAdvanceSystem runner(command, encoderOutput.Collect(), app.Folder(), std::chrono::milliseconds(10));
  runner.Resume();
  ASSERT_TRUE(
      test::WaitUntil([&] { return encoderOutput.Text().find("time=") != std::string::npos || runner.Finished(); },
                      std::chrono::seconds(60)));
  ASSERT_FALSE(runner.Finished()) << encoderOutput.Text();

  SystemEncoderProcesses processes(lib);
  EXPECT_NE(processes.FindProcessId("EVC.EXE"), 0);
  test::VirtualScheduler clock;
  EncoderStopper stopper(clock, processes, appFunc);
  bool done = false;
  stopper.StopEncoderProcesses(command.args.front(), [&] { done = true; });
  ASSERT_TRUE(test::WaitUntil([&] { return done && runner.Finished(); }, test::kWaitTimeout,
                              [&] { clock.AdvanceBy(kStopPauseMs); }));
  EXPECT_EQ(stopper.GiveUps(), 0);
  EXPECT_FALSE(runner.Outcome().Succeeded());
  EXPECT_EQ(processes.FindProcessId("evc.exe"), 0);
}

}  // namespace
}  // namespace sonvarro
