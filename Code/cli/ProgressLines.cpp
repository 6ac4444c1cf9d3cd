#include "cli/ProgressLines.h"

#include <algorithm>
#include <optional>

#include "cli/ConvertRequest.h"
#include "engine/EncoderProgress.h"
#include "engine/RunFailure.h"
#include "services/TextFormats.h"

namespace sonvarro {
namespace {

// Back to the start of the line, and the line cleared.
constexpr const char* kClearLine = "\r\033[K";

std::string Files(int count) { return std::to_string(count) + (count == 1 ? " file" : " files"); }

}  // namespace

ProgressLines::ProgressLines(std::ostream& out, bool terminal, Verbosity verbosity)
    : out_(out), terminal_(terminal), verbosity_(verbosity) {}

std::string ProgressLines::FilePrefix() const {
  return "[" + std::to_string(number_) + "/" + std::to_string(count_) + "] " + source_;
}

void ProgressLines::EndLiveLine() {
  if (liveLineShown_) out_ << kClearLine;
  liveLineShown_ = false;
}

void ProgressLines::Skipped(const SkippedInput& input) {
  out_ << kCommandName << ": " << input.path << ": " << input.reason << ", skipped\n" << std::flush;
}

void ProgressLines::FileStarts(int number, int count, const std::string& source, int seconds) {
  number_ = number;
  count_ = count;
  source_ = source;
  seconds_ = seconds;
}

void ProgressLines::EncoderOutput(const std::string& chunk) {
  if (verbosity_ == Verbosity::Verbose) {
    EndLiveLine();
    std::string text = chunk;
    // Status lines end in a carriage return, which a log would not show.
    if (!terminal_) std::replace(text.begin(), text.end(), '\r', '\n');
    out_ << text;
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') out_ << '\n';
  }
  if (!terminal_ || verbosity_ == Verbosity::Quiet) {
    out_ << std::flush;
    return;
  }
  const std::optional<int> done = EncoderSeconds(chunk);
  if (!done) return;
  const int percent = seconds_ > 0 ? std::clamp(*done * 100 / seconds_, 0, 100) : 0;
  out_ << kClearLine << FilePrefix() << "  " << percent << "%  " << TimeText(*done) << " / " << TimeText(seconds_)
       << std::flush;
  liveLineShown_ = true;
}

void ProgressLines::FileConverted(const std::string& output) {
  EndLiveLine();
  if (verbosity_ != Verbosity::Quiet) out_ << FilePrefix() << ": converted to " << output << "\n";
  out_ << std::flush;
}

void ProgressLines::FileFailed(const std::string& why) {
  EndLiveLine();
  out_ << FilePrefix() << ": failed, " << why << "\n" << std::flush;
}

void ProgressLines::FileStopped() {
  EndLiveLine();
  out_ << FilePrefix() << ": stopped, its partial output removed\n" << std::flush;
}

void ProgressLines::Summary(const BatchOutcome& outcome, const std::string& logPath) {
  if (outcome.interrupted) {
    out_ << "Interrupted: " << outcome.converted << " of " << Files(outcome.count) << " converted";
    if (!outcome.stopped.empty()) out_ << ", " << outcome.stopped << " stopped";
    out_ << ".\n";
  } else if (verbosity_ != Verbosity::Quiet || !outcome.failed.empty()) {
    out_ << (outcome.failed.empty() ? "" : std::to_string(outcome.converted) + " of ") << Files(outcome.count)
         << " converted.\n";
  }
  if (!outcome.failed.empty()) {
    out_ << kFailedFilesMessage << "\n";
    for (const std::string& failed : outcome.failed) out_ << "  " << failed << "\n";
    if (outcome.logged > 0) out_ << kFailedFilesReasons << " (" << logPath << ")\n";
  }
  out_ << std::flush;
}

}  // namespace sonvarro
