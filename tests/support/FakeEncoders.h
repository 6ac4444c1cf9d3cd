#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "VirtualScheduler.h"
#include "engine/AdvanceSystem.h"
#include "engine/EncoderProcesses.h"

namespace sonvarro::test {

// Encoder runs without processes: a runner "starts" an encoder process named
// evc.exe when resumed; the test makes it print and end. The process table
// holds only these encoders (plus `foreign` ones the job did not start).
class FakeEncoders : public IEncoderProcesses {
 public:
  explicit FakeEncoders(VirtualScheduler& clock) : clock_(clock) {}

  struct Run {
    EncoderCommand command;
    std::string workingFolder;
    EncoderOutputCallback onOutput;
    int64_t startedAt = -1;  // virtual time of Resume; -1 while suspended
    bool running = false;    // its process exists
    bool terminateAsked = false;
    EncoderOutcome outcome;  // what the runner reports once the run has ended
  };

  AdvanceSystemFactory Factory();

  // The newest run prints chunk / ends by itself, with that status and last
  // line; fails when there is no run, or when it has already ended. Ending
  // with status 0, it leaves an encoded file at its output, as a real
  // encoder does, unless leavesNoOutput is set.
  [[nodiscard]] testing::AssertionResult Print(const std::string& chunk);
  [[nodiscard]] testing::AssertionResult EndCurrent(int exitStatus = 0, const std::string& lastLine = "");

  ProcessId FindProcessId(std::string_view exeName) override;
  ProcessId GetProcessIdByName(std::string_view exeName) override;
  bool KillProcess(std::string_view exeName) override;

  std::vector<std::shared_ptr<Run>> runs;
  std::string startError;       // not empty: runners cannot start their encoder, for this reason
  int foreign = 0;              // other processes named evc.exe
  bool killable = true;         // false: the foreign ones survive terminations
  bool lookupsFail = false;     // FindProcessId throws, as a broken process list would
  bool leavesNoOutput = false;  // an encoder that ends well but writes nothing
  int kills = 0;
  int lookups = 0;  // GetProcessIdByName calls
  int runnersAlive = 0;

 private:
  int Running(std::string_view exeName) const;
  VirtualScheduler& clock_;
};

}  // namespace sonvarro::test
