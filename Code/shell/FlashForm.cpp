#include "shell/FlashForm.h"

#include <utility>

namespace sonvarro {

TFrmFlashForm::TFrmFlashForm(ISplashWindow& window, IScheduler& scheduler, std::function<void()> startUpRoutine)
    : window_(window),
      scheduler_(scheduler),
      startUpRoutine_(std::move(startUpRoutine)),
      timer2_(scheduler, kTimer2IntervalMs, [this] { Timer2Timer(); }) {}

TFrmFlashForm::~TFrmFlashForm() { scheduler_.Cancel(timer1_); }

void TFrmFlashForm::ShowModal() {
  FormShow();
  window_.ShowModal();
}

void TFrmFlashForm::FormShow() {
  ticks_ = 0;
  routineDone_ = false;
  closed_ = false;
  timer1_ = scheduler_.After(kTimer1DelayMs, [this] { Timer1Timer(); });
  timer2_.Start();
}

void TFrmFlashForm::Timer2Timer() {
  ++ticks_;
  CloseWhenDone();
}

void TFrmFlashForm::Timer1Timer() {
  timer1_ = 0;
  try {
    startUpRoutine_();
  } catch (...) {
    // The splash must not wait for ever on a routine that will not finish.
    routineFailed_ = true;
    routineDone_ = true;
    CloseWhenDone();
    throw;
  }
  routineDone_ = true;
  CloseWhenDone();
}

void TFrmFlashForm::CloseWhenDone() {
  if (closed_ || !routineDone_ || ticks_ < kMinimumTicks) return;
  closed_ = true;
  timer2_.Stop();
  window_.Close();
}

}  // namespace sonvarro
