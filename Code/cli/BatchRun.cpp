#include "cli/BatchRun.h"

#include <chrono>
#include <future>

#include "engine/AdvanceSystem.h"
#include "engine/EncoderName.h"
#include "engine/RunFailure.h"
#include "services/platform/Console.h"
#include "services/platform/Files.h"
#include "services/platform/Folders.h"

namespace sonvarro {
namespace {

// How often the wait for the encoder looks for an interrupt; the encoder's
// end ends the wait at once.
constexpr std::chrono::milliseconds kInterruptPoll{50};
// Chunks are shown as they come: nothing here waits for a window to paint.
constexpr std::chrono::milliseconds kNoPauseAfterChunk{0};

// Runs the encoder to its end, or ends it on an interrupt; true when an
// interrupt ended it.
bool RunToEnd(const EncoderCommand& command, BatchRunParts& parts, EncoderOutcome& outcome) {
  std::future<void> run = std::async(std::launch::async, [&] {
    RunEncoder(
        command, [&](const std::string& chunk) { parts.progress.EncoderOutput(chunk); }, parts.lib.AppFolder,
        kNoPauseAfterChunk, &outcome);
  });
  bool interrupted = false;
  while (run.wait_for(kInterruptPoll) != std::future_status::ready) {
    if (interrupted || !platform::InterruptRequested()) continue;
    interrupted = true;
    // Only the encoders this program started.
    parts.processes.KillProcess(kEncoderFileName);
  }
  run.get();
  return interrupted;
}

void FailRow(const std::string& source, const std::string& error, BatchRunParts& parts, BatchOutcome& outcome) {
  parts.appFunc.WriteLog(error);
  outcome.failed.push_back(source);
  ++outcome.logged;
  // The log line without its lead and the source: why the file failed.
  parts.progress.FileFailed(error.substr(std::string(kConvertErrorLog).size() + source.size() + 2));
}

}  // namespace

void RunBatch(const ISourceGrid& grid, BatchRunParts parts, BatchOutcome& outcome) {
  const int rows = grid.RowCount();
  outcome.count = rows + static_cast<int>(outcome.failed.size());
  // Made by the first row's command line; checked, never made again, after.
  std::string batchOutputFolder;
  for (int row = 0; row < rows; ++row) {
    if (platform::InterruptRequested()) {
      outcome.interrupted = true;
      return;
    }
    const std::string source = grid.Cell(row, kColFileName);
    if (!batchOutputFolder.empty() && !platform::IsFolder(batchOutputFolder)) {
      FailRow(source, OutputFolderGoneError(source, batchOutputFolder), parts, outcome);
      continue;
    }
    const EncoderCommand command = parts.builder.BuildCommandLine(source);
    if (batchOutputFolder.empty()) batchOutputFolder = parts.lib.Params.OutputFolder;
    parts.appFunc.WriteLog("parameter: " + command.text);
    parts.progress.FileStarts(row + 1, rows, source, std::stoi(parts.proc.CurrentCutSeconds));
    EncoderOutcome run;
    const bool interrupted = RunToEnd(command, parts, run);
    const std::optional<std::string> error = ConvertErrorOf(source, run, command.output);
    if (interrupted || error) platform::RemoveRegularFile(command.output);
    if (interrupted) {
      parts.progress.FileStopped();
      outcome.stopped = source;
      outcome.interrupted = true;
      return;
    }
    if (error) {
      FailRow(source, *error, parts, outcome);
      continue;
    }
    ++outcome.converted;
    parts.progress.FileConverted(command.output);
  }
}

}  // namespace sonvarro
