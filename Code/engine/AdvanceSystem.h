#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "engine/EncoderCommand.h"

namespace sonvarro {

// Receives one chunk of the encoder's console output, on the runner's thread.
// The text is valid only during the call; the runner waits for the return.
using EncoderOutputCallback = std::function<void(const std::string& chunk)>;

// After each delivered chunk the runner rests this long, so the progress
// display is refreshed about twice a second at most.
inline constexpr std::chrono::milliseconds kPauseAfterChunk{500};
// The largest chunk one read hands on.
inline constexpr std::size_t kMaxChunkBytes = 1023;

// How an encoder run went, for its owner.
struct EncoderOutcome {
  bool started = false;
  std::string startError;    // why it could not start
  int exitStatus = -1;       // its exit code once ended; 128 + signal number when a signal ended it
  std::string endingSignal;  // what that signal means, such as "Killed"; empty after an exit of its own
  // The last line it printed (lines end at a line feed or a carriage
  // return), even when it never reached the callback; the encoder names its
  // problem there when it fails.
  std::string lastLine;

  bool Succeeded() const { return started && exitStatus == 0; }
};

// Runs command as a child process (working folder workingFolder, standard
// input a pipe never written, standard output and error merged, no terminal)
// and hands its output to onOutput chunk by chunk until the child has ended.
// Of a backlog larger than kMaxChunkBytes only the last piece read is handed
// on; the rest is drained. Returns false, without a call of onOutput and with
// nothing left open, when the child cannot be started; true once it has
// ended. outcome, when given, receives the details either way.
// pauseAfterChunk exists for tests; the program keeps the default.
bool RunEncoder(const EncoderCommand& command, const EncoderOutputCallback& onOutput, const std::string& workingFolder,
                std::chrono::milliseconds pauseAfterChunk = kPauseAfterChunk, EncoderOutcome* outcome = nullptr);

// One encoder run on a worker thread of its own. Created suspended; Resume
// starts RunEncoder once. The run ends only when the encoder process ends
// (the job terminates the process to stop it); destruction waits for that.
// Not reused: one runner per command. Tests replace the run by deriving.
class TAdvanceSystem {
 public:
  TAdvanceSystem(EncoderCommand command, EncoderOutputCallback onOutput, std::string workingFolder,
                 std::chrono::milliseconds pauseAfterChunk = kPauseAfterChunk);
  // Waits until the thread (if it was started) has finished.
  virtual ~TAdvanceSystem();
  TAdvanceSystem(const TAdvanceSystem&) = delete;
  TAdvanceSystem& operator=(const TAdvanceSystem&) = delete;

  // Starts the thread; later calls do nothing.
  virtual void Resume();
  // Sets the stop flag. RunEncoder does not look at it: the runner ends only
  // with the encoder process.
  virtual void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // True once RunEncoder has returned on the worker thread.
  virtual bool Finished() const { return finished_; }
  // How the run went; read it only once Finished() is true.
  virtual EncoderOutcome Outcome() const { return outcome_; }

  const EncoderCommand& Command() const { return command_; }

 private:
  void Execute();

  // Written before the thread starts, only read afterwards.
  const EncoderCommand command_;
  const EncoderOutputCallback onOutput_;
  const std::string workingFolder_;
  const std::chrono::milliseconds pauseAfterChunk_;

  // Written by the worker thread before finished_ is set.
  EncoderOutcome outcome_;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

// How the job makes the runner of each row: TAdvanceSystem in the program,
// doubles in tests.
using AdvanceSystemFactory = std::function<std::unique_ptr<TAdvanceSystem>(
    const EncoderCommand& command, EncoderOutputCallback onOutput, const std::string& workingFolder)>;

// The program's runners.
std::unique_ptr<TAdvanceSystem> NewAdvanceSystem(const EncoderCommand& command, EncoderOutputCallback onOutput,
                                                 const std::string& workingFolder);

}  // namespace sonvarro
