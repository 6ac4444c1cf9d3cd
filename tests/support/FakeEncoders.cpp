#include "FakeEncoders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace sonvarro::test {
namespace {

// A runner without a thread: its "encoder process" is the Run record.
class FakeRunner final : public TAdvanceSystem {
 public:
  FakeRunner(std::shared_ptr<FakeEncoders::Run> run, VirtualScheduler& clock, int& alive)
      : TAdvanceSystem(run->command, run->onOutput, run->workingFolder),
        run_(std::move(run)),
        clock_(clock),
        alive_(alive) {
    ++alive_;
  }
  ~FakeRunner() override {
    EXPECT_FALSE(run_->running) << "a runner was joined while its encoder still ran";
    --alive_;
  }
  void Resume() override {
    run_->startedAt = clock_.Now();
    run_->running = run_->outcome.started;
  }
  void Terminate() override { run_->terminateAsked = true; }
  bool Finished() const override { return run_->startedAt >= 0 && !run_->running; }
  EncoderOutcome Outcome() const override { return run_->outcome; }

 private:
  std::shared_ptr<FakeEncoders::Run> run_;
  VirtualScheduler& clock_;
  int& alive_;
};

}  // namespace

AdvanceSystemFactory FakeEncoders::Factory() {
  return [this](const EncoderCommand& command, EncoderOutputCallback onOutput, const std::string& folder) {
    auto run = std::make_shared<Run>();
    run->command = command;
    run->workingFolder = folder;
    run->onOutput = std::move(onOutput);
    run->outcome.started = startError.empty();
    run->outcome.startError = startError;
    runs.push_back(run);
    return std::unique_ptr<TAdvanceSystem>(new FakeRunner(run, clock_, runnersAlive));
  };
}

testing::AssertionResult FakeEncoders::Print(const std::string& chunk) {
  if (runs.empty()) return testing::AssertionFailure() << "no encoder has started";
  runs.back()->onOutput(chunk);
  return testing::AssertionSuccess();
}

testing::AssertionResult FakeEncoders::EndCurrent(int exitStatus, const std::string& lastLine) {
  if (runs.empty()) return testing::AssertionFailure() << "no encoder has started";
  Run& run = *runs.back();
  if (!run.running) return testing::AssertionFailure() << "the newest encoder is not running";
  run.running = false;
  run.outcome.exitStatus = exitStatus;
  run.outcome.lastLine = lastLine;
  if (exitStatus != 0 || leavesNoOutput) return testing::AssertionSuccess();
  std::error_code error;
  if (std::filesystem::file_size(run.command.output, error) > 0) return testing::AssertionSuccess();
  std::ofstream output(run.command.output, std::ios::binary);
  output << "encoded";
  if (!output.flush())
    return testing::AssertionFailure() << "the encoded file could not be written at " << run.command.output;
  return testing::AssertionSuccess();
}

int FakeEncoders::Running(std::string_view exeName) const {
  if (exeName != "evc.exe") return 0;
  int count = foreign;
  for (const auto& run : runs) count += run->running ? 1 : 0;
  return count;
}

ProcessId FakeEncoders::FindProcessId(std::string_view exeName) {
  if (lookupsFail) throw std::runtime_error("The process list cannot be read.");
  return Running(exeName) ? 4242 : 0;
}

ProcessId FakeEncoders::GetProcessIdByName(std::string_view exeName) {
  ++lookups;
  return FindProcessId(exeName);
}

bool FakeEncoders::KillProcess(std::string_view exeName) {
  ++kills;
  if (Running(exeName) == 0) return false;
  for (auto& run : runs) {
    if (!run->running) continue;
    run->running = false;
    run->outcome.exitStatus = 128 + 9;  // as the signal that kills it
    run->outcome.endingSignal = "Killed";
  }
  if (!killable) return foreign == 0;
  foreign = 0;
  return true;
}

}  // namespace sonvarro::test
