#include "engine/FrmConverting.h"

#include <charconv>

#include "engine/EncoderName.h"
#include "engine/EncoderProgress.h"
#include "services/ApplicationTitle.h"
#include "services/platform/Desktop.h"

namespace sonvarro {
namespace {

constexpr const char* kSpinnerCharacters[] = {"|", "/", "-", "\\", "|"};
constexpr int kSpinnerPhases = 5;
// Below this file bar position the encoder is taken to be still starting up.
constexpr int kConvertingFromPosition = 3;
constexpr int kStopPastLastRow = 10;

int DecimalOrZero(const std::string& text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

TfrmConverting::TfrmConverting(ProgressWindowControls& controls, ConvertingParts parts)
    : controls_(controls),
      parts_(parts),
      tmrChanging_(parts.scheduler, kSpinnerIntervalMs, [this] { tmrChangingTimer(); }) {
  tmrChanging_.Start();
}

ProgressWindowEvents TfrmConverting::Events() {
  ProgressWindowEvents events;
  events.FormShow = [this] { FormShow(); };
  events.btnStop1Click = [this] { btnStop1Click(); };
  events.FormClose = [this] { FormClose(); };
  return events;
}

void TfrmConverting::FormShow() {
  SpinnerPhase = 0;
  controls_.lblCurFileName.SetText(parts_.lib.Params.SourceFile);
  controls_.lblPersent.SetText("Current: 1, Total: " + std::to_string(parts_.proc.CheckedCount));
  controls_.ProgressBar1.SetMaximum(1);
  controls_.ProgressBar1.SetPosition(0);
  controls_.pbTotal.SetMaximum(1);
  controls_.pbTotal.SetPosition(0);
}

void TfrmConverting::tmrChangingTimer() {
  SpinnerPhase = SpinnerPhase >= kSpinnerPhases ? 1 : SpinnerPhase + 1;
  const std::string character = kSpinnerCharacters[SpinnerPhase - 1];
  controls_.lblInfo.SetText(controls_.ProgressBar1.Position() < kConvertingFromPosition
                                ? "Installing convert information  " + character
                                : "Converting  " + character);
}

void TfrmConverting::actRefreshProgressExecute() {
  TCustomProc& proc = parts_.proc;
  if (++proc.RefreshCount <= 1) return;  // the first chunk of a file is the encoder's banner

  // The job bar follows the file bar as it was before this refresh.
  IProgressBar& fileBar = controls_.ProgressBar1;
  controls_.pbTotal.SetMaximum(proc.CheckedCount * 100);
  if (const auto total = JobBarPosition(fileBar.Position(), fileBar.Maximum(), proc.ConvertedCount)) {
    controls_.pbTotal.SetPosition(*total);
    controls_.lblPersent.SetText(JobCounterText(proc.ConvertedCount, proc.CheckedCount));
  }

  fileBar.SetMinimum(0);
  fileBar.SetMaximum(DecimalOrZero(proc.CurrentCutSeconds));
  if (const auto seconds = EncoderSeconds(controls_.statState.Text())) fileBar.SetPosition(*seconds);
}

bool TfrmConverting::UserConfirms(const char* question) const {
  // The job holds still while the user decides; it resumes once the answer
  // has been acted on.
  struct HoldJob {
    int& questionsOpen;
    explicit HoldJob(int& open) : questionsOpen(open) { ++questionsOpen; }
    ~HoldJob() { --questionsOpen; }
  } hold(parts_.proc.QuestionsOpen);
  const bool yes = parts_.desktop.ShowMessage(kApplicationTitle, question, platform::MessageIcon::Question,
                                              platform::MessageButtons::YesNo) == platform::MessageAnswer::Yes;
  // A yes that comes after its job has ended has nothing left to stop.
  return yes && parts_.proc.JobRunning;
}

void TfrmConverting::EndJobAfterThisRow() {
  controls_.window.Hide();
  parts_.mainWindow.SetEnabled(true);
  parts_.proc.CurrentRow = parts_.sourceList.RowCount() + kStopPastLastRow;
}

void TfrmConverting::btnStop1Click() {
  if (!UserConfirms(kStopQuestion)) return;
  parts_.proc.StopRequested = true;
  EndJobAfterThisRow();
  // The second stop is a no-op after the first unless the encoder's path
  // names another program; it runs once the first has finished.
  const std::string encoderPath = parts_.lib.Params.EncoderPath;
  parts_.stopper.StopEncoderProcesses(encoderPath, [this] { parts_.stopper.StopEncoderProcesses(kEncoderFileName); });
  if (parts_.proc.EncoderRunner) parts_.proc.EncoderRunner->Terminate();
  controls_.ProgressBar1.SetPosition(0);
  controls_.pbTotal.SetMaximum(0);
  controls_.pbTotal.SetPosition(0);
  controls_.lblPersent.SetText(kEmptyJobCounter);
}

void TfrmConverting::FormClose() {
  if (!UserConfirms(kCloseQuestion)) return;
  EndJobAfterThisRow();
  parts_.stopper.StopEncoderProcesses(parts_.lib.Params.EncoderPath);
}

}  // namespace sonvarro
