#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/EncoderCommand.h"

namespace sonvarro {

// One encoder run on a thread of its own (the program's is TAdvanceSystem).
// Destroying it waits for its thread, which ends only with the encoder.
class IEncoderRunner {
 public:
  virtual ~IEncoderRunner() = default;
  virtual void Resume() = 0;          // starts the run
  virtual void Terminate() = 0;       // sets the stop flag; the run ends with the encoder only
  virtual bool Finished() const = 0;  // the thread has done its work
};

// Receives a chunk of encoder output on the runner's thread.
using EncoderOutputHandler = std::function<void(const std::string& chunk)>;

// Creates a suspended runner for one command, its output handler and the
// working folder of the encoder.
using EncoderRunnerFactory = std::function<std::unique_ptr<IEncoderRunner>(
    const EncoderCommand& command, EncoderOutputHandler onOutput, const std::string& workingFolder)>;

}  // namespace sonvarro
