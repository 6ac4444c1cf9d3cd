#include <dirent.h>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <future>
#include <set>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "TempDir.h"
#include "WaitUntil.h"
#include "engine/AdvanceSystem.h"

namespace sonvarro {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Tests keep the pause after a chunk short; the program rests 500 ms.
constexpr std::chrono::milliseconds kTestPause{1};

const std::string kChild = SONVARRO_RUNNER_CHILD;

EncoderCommand Command(std::vector<std::string> args) {
  EncoderCommand command;
  for (const std::string& arg : args) command.text += (command.text.empty() ? "" : " ") + arg;
  command.args = std::move(args);
  return command;
}

EncoderCommand Child(std::vector<std::string> steps) {
  steps.insert(steps.begin(), kChild);
  return Command(std::move(steps));
}

struct RunResult {
  bool started = false;
  EncoderOutcome outcome;
  std::vector<std::string> chunks;
  std::string All() const {
    std::string all;
    for (const std::string& chunk : chunks) all += chunk;
    return all;
  }
};

RunResult RunToEnd(const EncoderCommand& command, const std::string& folder = "/") {
  RunResult run;
  run.started = RunEncoder(
      command, [&](const std::string& chunk) { run.chunks.push_back(chunk); }, folder, kTestPause, &run.outcome);
  return run;
}

std::set<std::string> OpenDescriptors() {
  std::set<std::string> fds;
  DIR* dir = opendir("/proc/self/fd");
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != ".." && std::stoi(name) != dirfd(dir)) {
      fds.insert(name + " -> " + std::filesystem::read_symlink("/proc/self/fd/" + name).string());
    }
  }
  closedir(dir);
  return fds;
}

TEST(RunEncoder, SilentChildGivesNoCallbackAndTrue) {
  RunResult run = RunToEnd(Child({"sleep=50"}));
  EXPECT_TRUE(run.started);
  EXPECT_THAT(run.chunks, IsEmpty());
}

TEST(RunEncoder, BacklogOfThreeThousandBytesGivesOnlyTheLastPiece) {
  // 1023 'A's and 1023 'B's are drained unseen; the last read holds 954 'C's.
  RunResult run = RunToEnd(Child({"bytes=3000"}));
  EXPECT_TRUE(run.started);
  EXPECT_THAT(run.chunks, ElementsAre(std::string(954, 'C')));
}

TEST(RunEncoder, BacklogOfExactlyTwoFullPiecesGivesTheSecond) {
  RunResult run = RunToEnd(Child({"bytes=2046"}));
  EXPECT_THAT(run.chunks, ElementsAre(std::string(1023, 'B')));
}

TEST(RunEncoder, ChunkFittingOneReadIsDeliveredWhole) {
  RunResult run = RunToEnd(Child({"bytes=1023"}));
  EXPECT_THAT(run.chunks, ElementsAre(std::string(1023, 'A')));
}

TEST(RunEncoder, OutputLargerThanThePipeIsDrainedSoTheChildCanEnd) {
  // 200 000 bytes do not fit the pipe: the child only ends once the runner
  // has read most of them, and what reaches the callback is cut to pieces.
  RunResult run = RunToEnd(Child({"bytes=200000", "out=end"}));
  EXPECT_TRUE(run.started);
  ASSERT_FALSE(run.chunks.empty());
  for (const std::string& chunk : run.chunks) EXPECT_LE(chunk.size(), kMaxChunkBytes);
  EXPECT_EQ(run.chunks.back().substr(run.chunks.back().size() - 3), "end");
}

TEST(RunEncoder, OutputOverTimeArrivesInOrder) {
  RunResult run = RunToEnd(Child({"out=frame= 1\n", "sleep=60", "out=frame= 2\n", "sleep=60", "out=frame= 3\n"}));
  EXPECT_EQ(run.All(), "frame= 1\nframe= 2\nframe= 3\n");
  for (const std::string& chunk : run.chunks) EXPECT_FALSE(chunk.empty());
}

TEST(RunEncoder, StandardErrorIsMergedIntoTheSameStream) {
  RunResult run = RunToEnd(Child({"out=to stdout\n", "sleep=20", "err=to stderr\n"}));
  EXPECT_EQ(run.All(), "to stdout\nto stderr\n");
}

TEST(RunEncoder, ChunkIsCutAtItsFirstZeroByte) {
  RunResult run = RunToEnd(Child({"zero"}));
  EXPECT_THAT(run.chunks, ElementsAre("ab"));
}

// What the owner learns once the child has ended: its exit status and the
// last line it printed, wherever that line fell in the output.
TEST(RunEncoder, ReportsTheExitStatusAndTheLastLinePrinted) {
  const struct {
    const char* name;
    std::vector<std::string> steps;
    int status;
    std::string lastLine;
  } cases[] = {
      {"failure line after a status line",
       {"out=size= 1kB time=0.50 bitrate= 1kbits/s\r", "sleep=30", "err=evc: cannot read \"a b.wav\"\n", "exit=3"},
       3,
       "evc: cannot read \"a b.wav\""},
      {"status lines end in carriage returns", {"out=time=1.00\rtime=2.00\r\n"}, 0, "time=2.00"},
      {"a line not ended yet", {"out=first\nsecond", "exit=4"}, 4, "second"},
      {"a line over two chunks",
       {"out=evc: one half", "sleep=60", "out= and the other\n"},
       0,
       "evc: one half and the other"},
      {"after a backlog read in pieces", {"bytes=3000", "out=\nthe end\n", "exit=2"}, 2, "the end"},
      {"nothing printed", {"exit=5"}, 5, ""},
      {"ended by a signal", {"out=working\n", "signal=9"}, 128 + 9, "working"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunResult run = RunToEnd(Child(c.steps));
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.outcome.started);
    EXPECT_EQ(run.outcome.exitStatus, c.status);
    EXPECT_EQ(run.outcome.lastLine, c.lastLine);
    EXPECT_EQ(run.outcome.Succeeded(), c.status == 0);
  }
}

TEST(RunEncoder, ArgumentsReachTheChildUnchanged) {
  const std::vector<std::string> awkward = {"two words",   "say \"hi\"",    "$HOME", "`id`",      "it's",
                                            "back\\slash", "Grüße ünïcödé", "",      "a;b|c&d>e", "*.mp3"};
  std::vector<std::string> args = {"/usr/bin/printf", "[%s]\n"};
  args.insert(args.end(), awkward.begin(), awkward.end());
  RunResult run = RunToEnd(Command(args));
  std::string expected;
  for (const std::string& arg : awkward) expected += "[" + arg + "]\n";
  EXPECT_EQ(run.All(), expected);
}

TEST(RunEncoder, ChildRunsInTheWorkingFolder) {
  test::TempDir temp;
  std::filesystem::path folder = temp.Path() / "app folder ü $x";
  std::filesystem::create_directory(folder);
  RunResult run = RunToEnd(Command({"/bin/pwd"}), folder.string() + "/");
  EXPECT_EQ(run.All(), std::filesystem::canonical(folder).string() + "\n");
}

TEST(RunEncoder, StandardInputNeitherDeliversDataNorEnds) {
  RunResult run = RunToEnd(Child({"stdin"}));
  EXPECT_EQ(run.All(), "stdin:quiet\n");
}

TEST(RunEncoder, ChildGetsOnlyItsStandardDescriptorsAndNoTerminal) {
  // A descriptor this process opened without close-on-exec must not leak.
  int stray = open("/dev/null", O_RDONLY);
  ASSERT_GE(stray, 0);
  RunResult run = RunToEnd(Child({"fds", "session"}));
  close(stray);
  EXPECT_EQ(run.All(), "fds:0,1,2\nsession:leader\ntty:none\n");
}

TEST(RunEncoder, ChildThatCannotStartGivesFalseNoCallbackAndLeavesNothingOpen) {
  test::TempDir temp;
  const struct {
    const char* name;
    EncoderCommand command;
    std::string folder;
  } cases[] = {
      {"missing program", Command({temp.Folder() + "evc.exe", "-i", "x"}), "/"},
      {"program is a folder", Command({temp.Folder()}), "/"},
      {"not executable", Command({temp.WriteFile("plain.txt", "text")}), "/"},
      {"missing working folder", Command({"/bin/pwd"}), temp.Folder() + "gone/"},
      {"empty argument vector", Command({}), "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::set<std::string> before = OpenDescriptors();
    RunResult run = RunToEnd(c.command, c.folder);
    EXPECT_FALSE(run.started);
    EXPECT_FALSE(run.outcome.started);
    EXPECT_FALSE(run.outcome.startError.empty()) << "the reason it could not start";
    EXPECT_FALSE(run.outcome.Succeeded());
    EXPECT_THAT(run.chunks, IsEmpty());
    EXPECT_EQ(OpenDescriptors(), before);
  }
  EXPECT_EQ(RunToEnd(cases[0].command).outcome.startError, std::generic_category().message(ENOENT));
}

TEST(RunEncoder, FinishedRunLeavesNothingOpen) {
  std::set<std::string> before = OpenDescriptors();
  RunResult run = RunToEnd(Child({"out=x"}));
  EXPECT_TRUE(run.started);
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(TAdvanceSystem, DoesNothingUntilResumed) {
  test::TempDir temp;
  const std::string marker = temp.Folder() + "ran";
  bool called = false;
  {
    TAdvanceSystem runner(
        Command({"/usr/bin/touch", marker}), [&](const std::string&) { called = true; }, "/", kTestPause);
    EXPECT_FALSE(runner.Finished());
  }
  EXPECT_FALSE(std::filesystem::exists(marker));
  EXPECT_FALSE(called);
}

TEST(TAdvanceSystem, RunsOnItsOwnThreadAndDestructionWaitsForTheChild) {
  std::vector<std::string> chunks;
  std::thread::id callbackThread;
  {
    TAdvanceSystem runner(
        Child({"sleep=150", "out=done\n"}),
        [&](const std::string& chunk) {
          callbackThread = std::this_thread::get_id();
          chunks.push_back(chunk);
        },
        "/", kTestPause);
    runner.Resume();
    runner.Resume();  // a second start is ignored
    // The stop flag does not cut the run short: only the child's end does.
    runner.Terminate();
    EXPECT_TRUE(runner.Terminated());
  }
  EXPECT_THAT(chunks, ElementsAre("done\n"));
  EXPECT_NE(callbackThread, std::this_thread::get_id());
}

TEST(TAdvanceSystem, ReportsFinishedOnceTheChildHasEnded) {
  std::promise<void> delivered;
  TAdvanceSystem runner(
      Child({"out=x"}), [&](const std::string&) { delivered.set_value(); }, "/", kTestPause);
  EXPECT_EQ(runner.Command().args.at(0), kChild);
  runner.Resume();
  delivered.get_future().wait();
  EXPECT_TRUE(test::WaitUntil([&] { return runner.Finished(); }));
  EXPECT_TRUE(runner.Outcome().Succeeded());
  EXPECT_EQ(runner.Outcome().lastLine, "x");
}

TEST(TAdvanceSystem, ProgramThatCannotStartEndsTheThreadWithoutCallbackAndSaysWhy) {
  bool called = false;
  TAdvanceSystem runner(
      Command({"/nonexistent/evc.exe"}), [&](const std::string&) { called = true; }, "/");
  runner.Resume();
  ASSERT_TRUE(test::WaitUntil([&] { return runner.Finished(); }));
  EXPECT_FALSE(called);
  EXPECT_FALSE(runner.Outcome().started);
  EXPECT_EQ(runner.Outcome().startError, std::generic_category().message(ENOENT));
}

}  // namespace
}  // namespace sonvarro
