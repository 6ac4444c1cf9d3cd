#pragma once

#include <stdexcept>
#include <string>

namespace sonvarro::evc {

// Each kind of failure leaves the process with its own status.
enum class Failure {
  kBadOptions = 2,
  kInput = 3,    // missing, unreadable, no audio, undecodable
  kOutput = 4,   // exists without -y, not writable, cannot be encoded
  kStopped = 5,  // interrupted by a signal
};

// A failure with the one line the user sees; it names the file concerned.
class EncodeError : public std::runtime_error {
 public:
  EncodeError(Failure failure, const std::string& line) : std::runtime_error(line), failure_(failure) {}
  Failure failure() const { return failure_; }

 private:
  Failure failure_;
};

// A failure inside a stage that does not know which files it works on (an
// encoder, a sample converter): the line the user sees adds them.
class StageError : public std::runtime_error {
 public:
  StageError(Failure failure, const std::string& what) : std::runtime_error(what), failure_(failure) {}
  Failure failure() const { return failure_; }

 private:
  Failure failure_;
};

}  // namespace sonvarro::evc
