#pragma once

// What the command tells on standard error while a batch converts: a line
// for each file with its number, name and result; on a terminal, while a file
// converts, a live line with its share and time.

#include <ostream>
#include <string>
#include <vector>

#include "cli/BatchInputs.h"

namespace sonvarro {

enum class Verbosity {
  Quiet,    // problems only
  Normal,   // a line per file and the summary
  Verbose,  // also the encoder's own status lines
};

// How a batch ended.
struct BatchOutcome {
  int count = 0;                    // files asked for, skipped ones too
  int converted = 0;                // of them, converted
  std::vector<std::string> failed;  // in order, with why: skipped inputs first
  int logged = 0;                   // of them, failures the log tells of
  std::string stopped;              // the file an interrupt stopped, if any
  bool interrupted = false;
};

class ProgressLines {
 public:
  ProgressLines(std::ostream& out, bool terminal, Verbosity verbosity);

  void Skipped(const SkippedInput& input);
  void FileStarts(int number, int count, const std::string& source, int seconds);
  // A chunk of the encoder's output; called on the runner's thread while the
  // file converts, when nothing else writes.
  void EncoderOutput(const std::string& chunk);
  void FileConverted(const std::string& output);
  void FileFailed(const std::string& why);
  void FileStopped();
  void Summary(const BatchOutcome& outcome, const std::string& logPath);

 private:
  void EndLiveLine();
  std::string FilePrefix() const;

  std::ostream& out_;
  const bool terminal_;
  const Verbosity verbosity_;
  int number_ = 0, count_ = 0, seconds_ = 0;
  std::string source_;
  bool liveLineShown_ = false;
};

}  // namespace sonvarro
