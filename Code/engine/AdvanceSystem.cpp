#include "engine/AdvanceSystem.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "services/platform/ChildProcess.h"

namespace sonvarro {
namespace {

// How long the loop waits for output when none is there, instead of spinning.
// Output that arrives sooner ends the wait at once.
constexpr int kIdleWaitMs = 10;

// Keeps the last non-empty line of the output read so far. Status lines end
// in a carriage return, the encoder's failure line in a line feed; a line
// not ended yet counts as the last one. A line is kept up to its first
// kMaxChunkBytes bytes.
class LastLine {
 public:
  void Feed(const char* data, std::size_t size) {
    for (const char* c = data; c != data + size; ++c) {
      if (*c == '\n' || *c == '\r') {
        if (!current_.empty()) last_ = std::move(current_);
        current_.clear();
      } else if (*c != '\0' && current_.size() < kMaxChunkBytes) {
        current_ += *c;
      }
    }
  }
  std::string Text() const { return current_.empty() ? last_ : current_; }

 private:
  std::string last_, current_;
};

// Reads what is waiting: one read when it fits a chunk, otherwise 1023-byte
// pieces while the last piece was full and more is waiting. Only the last
// piece survives; it is cut at its first zero byte. Every piece passes
// through lastLine.
std::string ReadChunk(platform::ChildProcess& child, std::size_t waiting, LastLine& lastLine) {
  char buffer[kMaxChunkBytes];
  std::size_t count = 0;
  if (waiting <= kMaxChunkBytes) {
    count = child.Read(buffer, kMaxChunkBytes);
    lastLine.Feed(buffer, count);
  } else {
    std::size_t previous = kMaxChunkBytes;
    while (previous == kMaxChunkBytes && child.BytesWaiting() > 0) {
      previous = child.Read(buffer, kMaxChunkBytes);
      lastLine.Feed(buffer, previous);
    }
    count = previous;
  }
  return std::string(buffer, std::find(buffer, buffer + count, '\0'));
}

}  // namespace

bool RunEncoder(const EncoderCommand& command, const EncoderOutputCallback& onOutput, const std::string& workingFolder,
                std::chrono::milliseconds pauseAfterChunk, EncoderOutcome* outcome) {
  EncoderOutcome ignored;
  EncoderOutcome& result = outcome ? *outcome : ignored;
  result = EncoderOutcome{};
  platform::Result<std::unique_ptr<platform::ChildProcess>> started =
      platform::ChildProcess::Start(command.args, workingFolder);
  if (!started) {
    result.startError = started.GetStatus().Message();
    return false;
  }
  const std::unique_ptr<platform::ChildProcess> child = std::move(started).Value();
  result.started = true;

  LastLine lastLine;
  bool running = true;
  while (running) {
    // Asked before looking at the pipe, so what the child wrote just before
    // it ended is still read in the last pass.
    running = child->Running();
    std::size_t waiting = child->BytesWaiting();
    if (waiting == 0) {
      // An encoder that has closed its output is ending: its end is waited
      // for, not slept over, so the next file starts the moment it has.
      if (running) child->WaitForOutputOrEnd(kIdleWaitMs);
      continue;
    }
    std::string chunk = ReadChunk(*child, waiting, lastLine);
    // Known before the callback runs, in case it throws.
    result.lastLine = lastLine.Text();
    if (onOutput) onOutput(chunk);
    std::this_thread::sleep_for(pauseAfterChunk);
  }
  result.exitStatus = child->ExitCode();
  result.endingSignal = child->EndingSignal();
  return true;
}

TAdvanceSystem::TAdvanceSystem(EncoderCommand command, EncoderOutputCallback onOutput, std::string workingFolder,
                               std::chrono::milliseconds pauseAfterChunk)
    : command_(std::move(command)),
      onOutput_(std::move(onOutput)),
      workingFolder_(std::move(workingFolder)),
      pauseAfterChunk_(pauseAfterChunk) {}

TAdvanceSystem::~TAdvanceSystem() {
  if (thread_.joinable()) thread_.join();
}

void TAdvanceSystem::Resume() {
  if (thread_.joinable() || finished_) return;
  thread_ = std::thread([this] { Execute(); });
}

void TAdvanceSystem::Execute() {
  // The owner reads how it went from Outcome() once the run has finished. An
  // exception from the owner's callback ends the run like the thread ending,
  // with no exit status; the child is not left behind (ChildProcess kills and
  // reaps it).
  try {
    RunEncoder(command_, onOutput_, workingFolder_, pauseAfterChunk_, &outcome_);
  } catch (...) {
    outcome_.exitStatus = -1;
  }
  finished_ = true;
}

std::unique_ptr<TAdvanceSystem> NewAdvanceSystem(const EncoderCommand& command, EncoderOutputCallback onOutput,
                                                 const std::string& workingFolder) {
  return std::make_unique<TAdvanceSystem>(command, std::move(onOutput), workingFolder);
}

}  // namespace sonvarro
