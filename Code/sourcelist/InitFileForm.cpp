#include "sourcelist/InitFileForm.h"

#include <array>
#include <utility>

#include "services/platform/Desktop.h"

namespace sonvarro {
namespace {

// Indexed by SpinnerStep - 1; two blanks before the turning character.
constexpr std::array<const char*, 4> kSpinnerTexts = {"Installing File...  |", "Installing File...  /",
                                                      "Installing File...  -", "Installing File...  \\"};

}  // namespace

TFrmInitFileForm::TFrmInitFileForm(InitFileFormControls controls, IScheduler& scheduler, platform::IDesktop& desktop,
                                   AddFilesRoutine addFiles, std::function<void()> onClosed)
    : controls_(controls),
      scheduler_(scheduler),
      desktop_(desktop),
      addFiles_(std::move(addFiles)),
      onClosed_(std::move(onClosed)),
      timer1_(scheduler, kTimer1IntervalMs, [this] { Timer1Timer(); }) {}

TFrmInitFileForm::~TFrmInitFileForm() { scheduler_.Cancel(timer2_); }

void TFrmInitFileForm::SetFileList(std::vector<std::string> paths) { fileList_ = std::move(paths); }

void TFrmInitFileForm::Show() {
  controls_.window.Show();
  spinnerStep_ = 1;
  timer1_.Start();
  scheduler_.Cancel(timer2_);
  timer2_ = scheduler_.After(kTimer2DelayMs, [this] { Timer2Timer(); });
}

void TFrmInitFileForm::Timer1Timer() {
  desktop_.ProcessPendingEvents();
  spinnerStep_ = spinnerStep_ % static_cast<int>(kSpinnerTexts.size()) + 1;
  controls_.lblInfo.SetText(kSpinnerTexts[static_cast<size_t>(spinnerStep_ - 1)]);
}

void TFrmInitFileForm::Timer2Timer() {
  desktop_.ProcessPendingEvents();
  timer2_ = 0;
  try {
    addFiles_(fileList_);
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

void TFrmInitFileForm::Close() {
  controls_.window.Hide();
  timer1_.Stop();
  onClosed_();
}

}  // namespace sonvarro
