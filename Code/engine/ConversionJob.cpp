#include "engine/ConversionJob.h"

#include <algorithm>

#include "engine/EncoderName.h"
#include "services/platform/Files.h"
#include "services/platform/Folders.h"

namespace sonvarro {
namespace {

constexpr int kWarningKind = 1;
// How often a held step looks whether the question has been answered.
constexpr int kHeldStepPollMs = 50;

std::string FailedFilesText(const std::vector<std::string>& files) {
  std::string text = kFailedFilesMessage;
  const std::size_t listed = std::min<std::size_t>(files.size(), kFailedFilesListed);
  for (std::size_t i = 0; i < listed; ++i) text += "\n" + files[i];
  if (files.size() > listed) text += "\nand " + std::to_string(files.size() - listed) + " more";
  return text + "\n\n" + kFailedFilesReasons;
}

int CountChecked(const ISourceGrid& list) {
  int checked = 0;
  for (int row = 0; row < list.RowCount(); ++row)
    if (list.Cell(row, kColCheck) == kCheckedText) ++checked;
  return checked;
}

}  // namespace

ConversionJob::ConversionJob(ConversionJobParts parts, ConversionTimings timings)
    : parts_(std::move(parts)), timings_(timings) {}

ConversionJob::~ConversionJob() { Abandon(); }

void ConversionJob::Abandon() {
  parts_.scheduler.Cancel(pending_);
  pending_ = 0;
  if (parts_.proc.EncoderRunner) {
    // The runner's thread ends with its encoder.
    parts_.processes.KillProcess(kEncoderFileName);
    parts_.proc.EncoderRunner.reset();
  }
}

void ConversionJob::EndForExit() {
  if (!Running()) return;
  // Once the runner is gone its encoder has been reaped, so nothing writes
  // to the output any more.
  Abandon();
  if (!unsettledOutput_.empty()) platform::RemoveRegularFile(unsettledOutput_);
  unsettledOutput_.clear();
  // The progress window goes too: a window still shown would be asked to
  // close as the program quits, and its question would hold the quit up.
  Finish();
}

void ConversionJob::After(int delayMs, Step step) {
  pending_ = parts_.scheduler.After(delayMs, [this, step] {
    pending_ = 0;
    RunStep(step);
  });
}

void ConversionJob::RunStep(Step step) {
  if (parts_.proc.QuestionsOpen > 0) {
    After(kHeldStepPollMs, step);
    return;
  }
  try {
    (this->*step)();
  } catch (...) {
    EndAfterFailure();
    throw;
  }
}

void ConversionJob::EndAfterFailure() {
  Abandon();
  // A row cut short leaves no file, not even its reserved name.
  if (!unsettledOutput_.empty()) platform::RemoveRegularFile(unsettledOutput_);
  unsettledOutput_.clear();
  parts_.proc.StopRequested = false;
  Finish();
}

bool ConversionJob::btnConvertClick(ISourceGrid& list) {
  if (Running()) return false;
  parts_.proc.ConvertedCount = 0;
  return ConvertCheckedItems(list);
}

bool ConversionJob::ConvertCheckedItems(ISourceGrid& list) {
  if (Running()) return false;
  TCustomProc& proc = parts_.proc;
  list_ = &list;
  proc.JobRunning = true;
  proc.StopRequested = false;  // a late answer to the last job's question must not reach this one
  proc.ConvertedCount = 0;
  proc.FailedCount = 0;
  failedFiles_.clear();
  jobOutputFolder_.clear();
  proc.CheckedCount = CountChecked(list);
  if (list.RowCount() == 0 || proc.CheckedCount == 0) {
    parts_.lib.ShowMessageBox(list.RowCount() == 0 ? kEmptyListWarning : kNothingCheckedWarning, kWarningKind);
    Finish();
    return true;
  }
  proc.CurrentRow = 0;
  try {
    NextCheckedRow();
  } catch (...) {
    EndAfterFailure();
    throw;
  }
  return true;
}

bool ConversionJob::PastLastRow() const { return parts_.proc.CurrentRow > list_->RowCount() - 1; }

void ConversionJob::NextCheckedRow() {
  // Unchecked rows are passed over without a pause; the row count is read
  // again on every pass.
  while (!PastLastRow()) {
    if (list_->Cell(parts_.proc.CurrentRow, kColCheck) == kCheckedText) {
      ConvertRow();
      return;
    }
    ++parts_.proc.CurrentRow;
  }
  AfterJobActions();
}

void ConversionJob::ConvertRow() {
  TCustomProc& proc = parts_.proc;
  rowSource_ = list_->Cell(proc.CurrentRow, kColFileName);
  if (!jobOutputFolder_.empty() && !platform::IsFolder(jobOutputFolder_)) {
    ++proc.FailedCount;
    failedFiles_.push_back(rowSource_);
    parts_.appFunc.WriteLog(OutputFolderGoneError(rowSource_, jobOutputFolder_));
    After(0, &ConversionJob::RowDone);
    return;
  }
  proc.CommandLine = parts_.builder.BuildCommandLine(rowSource_);
  if (jobOutputFolder_.empty()) jobOutputFolder_ = parts_.lib.Params.OutputFolder;
  unsettledOutput_ = proc.CommandLine.output;
  parts_.appFunc.WriteLog("parameter: " + proc.CommandLine.text);
  proc.RefreshCount = 0;
  ProgressWindowControls& window = parts_.frmConverting.Controls();
  window.ProgressBar1.SetPosition(0);
  // The bar is computed from the status line: the last file's final line
  // would fill it again before this row's encoder has printed anything.
  window.statState.SetText("");
  window.window.Show();
  parts_.mainWindow.SetEnabled(false);
  giveUpsAtRowStart_ = parts_.stopper.GiveUps();
  After(timings_.pauseBeforeEncoderMs, &ConversionJob::StartEncoder);
}

void ConversionJob::StartEncoder() {
  TCustomProc& proc = parts_.proc;
  // A stop during the pause came before this row's encoder existed, so it
  // could not end it: do not start it at all.
  if (PastLastRow()) {
    // Its reserved name goes too.
    platform::RemoveRegularFile(unsettledOutput_);
    RowDone();
    return;
  }
  if (proc.EncoderRunner) proc.EncoderRunner->Terminate();
  proc.EncoderRunner = parts_.newRunner(
      proc.CommandLine, [this](const std::string& chunk) { OnEncoderOutput(chunk); }, parts_.lib.AppFolder);
  proc.EncoderRunner->Resume();
  After(timings_.pauseAfterEncoderStartMs, &ConversionJob::WaitForEncoder);
}

void ConversionJob::WaitForEncoder() {
  // Any process of the encoder's name keeps the job waiting, unless a stop
  // has given up on ending it.
  const bool encoderRuns =
      parts_.processes.FindProcessId(kEncoderFileName) != 0 && parts_.stopper.GiveUps() == giveUpsAtRowStart_;
  // The runner's thread may still be in its pause after the last chunk:
  // joining it then would hold up the user interface.
  const bool runnerBusy = parts_.proc.EncoderRunner && !parts_.proc.EncoderRunner->Finished();
  if (encoderRuns || runnerBusy) {
    After(timings_.encoderPollMs, &ConversionJob::WaitForEncoder);
    return;
  }
  if (parts_.proc.EncoderRunner) {
    const EncoderOutcome outcome = parts_.proc.EncoderRunner->Outcome();
    parts_.proc.EncoderRunner.reset();
    CheckRowOutcome(outcome);
  }
  RowDone();
}

void ConversionJob::CheckRowOutcome(const EncoderOutcome& outcome) {
  const std::optional<std::string> error = ConvertErrorOf(rowSource_, outcome, parts_.proc.CommandLine.output);
  if (!error) return;
  // The encoder removes its partial output itself, but not when it was
  // killed; whatever is left is no good file.
  platform::RemoveRegularFile(parts_.proc.CommandLine.output);
  // A row the user stopped has not failed.
  if (PastLastRow()) return;
  ++parts_.proc.FailedCount;
  failedFiles_.push_back(rowSource_);
  parts_.appFunc.WriteLog(*error);
}

void ConversionJob::RowDone() {
  unsettledOutput_.clear();
  ++parts_.proc.ConvertedCount;
  ++parts_.proc.CurrentRow;
  NextCheckedRow();
}

void ConversionJob::AfterJobActions() {
  TCustomProc& proc = parts_.proc;
  // Rows that failed before a stop failed all the same: the user hears of them.
  const bool powerOffFollows = !proc.StopRequested && parts_.chkShutdown.Checked();
  if (!failedFiles_.empty()) ShowFailedFiles(powerOffFollows);
  if (!proc.StopRequested) {
    if (parts_.chkShowOutputDirectory.Checked()) parts_.lib.OpenInExplorer(parts_.lib.Params.OutputFolder);
    if (powerOffFollows) {
      parts_.lib.ShutdownComputer();
      list_ = nullptr;
      proc.JobRunning = false;
      parts_.quitApplication();
      return;
    }
  }
  proc.StopRequested = false;
  Finish();
}

void ConversionJob::ShowFailedFiles(bool powerOffFollows) {
  const int closeAfterMs = powerOffFollows ? kFailedFilesMessageCloseMs : 0;
  parts_.lib.ShowMessageBox(FailedFilesText(failedFiles_), kWarningKind, closeAfterMs);
}

void ConversionJob::Finish() {
  parts_.frmConverting.Controls().window.Hide();
  parts_.mainWindow.SetEnabled(true);
  list_ = nullptr;
  parts_.proc.JobRunning = false;
  if (parts_.onFinished) parts_.onFinished();
}

void ConversionJob::OnEncoderOutput(const std::string& chunk) {
  parts_.scheduler.Post([this, chunk] {
    ProgressWindowControls& window = parts_.frmConverting.Controls();
    window.statState.SetText(chunk);
    window.lblCurFileName.SetText(parts_.lib.Params.SourceFile);
    parts_.frmConverting.actRefreshProgressExecute();
  });
}

}  // namespace sonvarro
