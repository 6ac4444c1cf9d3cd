#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
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
#include "engine/OptionLists.h"
#include "engine/OutputTables.h"
#include "services/platform/ExecutableFolder.h"

namespace sonvarro {
namespace {

std::string ArgumentLine(const std::string& argument) {
  std::string line = "arg=";
  char digits[3];
  for (unsigned char c : argument) {
    std::snprintf(digits, sizeof digits, "%02x", c);
    line += digits;
  }
  // The stand-in writes in text mode, as Windows programs do.
  return line + "\r\n";
}

// The engine's own encoder run on Windows: the command line it builds starts
// evc.exe through the Windows spawn, the status lines come back, the lookup
// finds the encoder by name and the stopper ends it.
class WindowsEncoderRun : public testing::Test, protected test::CommandLineRig {
 protected:
  void SetUp() override {
    options.outputFiletype.SetItemIndex(kOutputMp3);
    options.profile.SetItemIndex(2);
    ApplyProfile(options.controls, {});
    const std::filesystem::path standIn = std::filesystem::u8path(platform::ExecutableFolder() + "stand_in_evc.exe");
    ASSERT_TRUE(CopyFileW(standIn.c_str(), std::filesystem::u8path(app.Folder() + "evc.exe").c_str(), FALSE));
  }

  test::CollectedOutput encoderOutput;
};

TEST_F(WindowsEncoderRun, TheBuiltCommandStartsTheEncoderAndTheStopperEndsIt) {
  const std::string source = "C:\\Média Ü\\a b & c %x% ^d$.avi";
  grid.AddFile(source, "00:05:00", "00:00:10", "00:03:15");
  const EncoderCommand command = builder.BuildCommandLine(source);
  ASSERT_EQ(command.args.front(), app.Folder() + "evc.exe");
  ASSERT_EQ(command.args.back(), out.Folder() + "a b & c %x% ^d$.mp3");

  TAdvanceSystem runner(command, encoderOutput.Collect(), app.Folder(), std::chrono::milliseconds(10));
  runner.Resume();
  ASSERT_TRUE(test::WaitUntil([&] { return encoderOutput.Text().find("time=") != std::string::npos; }));
  std::string arguments;
  for (size_t i = 1; i < command.args.size(); ++i) arguments += ArgumentLine(command.args[i]);
  const std::string output = encoderOutput.Text();
  EXPECT_EQ(output.substr(0, arguments.size()), arguments);
  EXPECT_EQ(EncoderSeconds(output.substr(arguments.size())), 5);

  SystemEncoderProcesses processes(lib);
  const ProcessId encoder = processes.FindProcessId("EVC.exe");
  EXPECT_NE(encoder, 0);
  EXPECT_EQ(processes.GetProcessIdByName("evc.exe"), encoder);

  test::VirtualScheduler clock;
  EncoderStopper stopper(clock, processes, appFunc);
  bool done = false;
  stopper.StopEncoderProcesses(command.args.front(), [&] { done = true; });
  ASSERT_TRUE(test::WaitUntil([&] { return done && runner.Finished(); }, test::kWaitTimeout,
                              [&] { clock.AdvanceBy(kStopPauseMs); }));
  EXPECT_EQ(stopper.GiveUps(), 0);
  EXPECT_TRUE(runner.Outcome().started);
  EXPECT_EQ(runner.Outcome().exitStatus, 1);
  EXPECT_FALSE(runner.Outcome().Succeeded());
  EXPECT_EQ(processes.FindProcessId("evc.exe"), 0);
}

}  // namespace
}  // namespace sonvarro
