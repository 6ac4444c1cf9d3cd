#pragma once

#include <functional>

#include "controls/SplashWindow.h"
#include "services/Scheduler.h"

namespace sonvarro {

// The splash (`TFrmFlashForm`). Shown modally at start-up: 250 ms after the
// show its Timer1 runs the start-up routine once, while Timer2 counts
// one-second ticks; it closes once the routine has returned and Timer2 has
// ticked at least twice, whichever comes later.
class TFrmFlashForm {
 public:
  static constexpr int kTimer1DelayMs = 250;
  static constexpr int kTimer2IntervalMs = 1000;
  static constexpr int kMinimumTicks = 2;

  TFrmFlashForm(ISplashWindow& window, IScheduler& scheduler, std::function<void()> startUpRoutine);
  ~TFrmFlashForm();
  TFrmFlashForm(const TFrmFlashForm&) = delete;
  TFrmFlashForm& operator=(const TFrmFlashForm&) = delete;

  // Shows the splash and returns when it has closed.
  void ShowModal();

  // The routine threw: the error went to the last-resort handler, and the
  // splash closed all the same.
  bool RoutineFailed() const { return routineFailed_; }
  int Ticks() const { return ticks_; }

 private:
  void FormShow();
  void Timer1Timer();
  void Timer2Timer();
  void CloseWhenDone();

  ISplashWindow& window_;
  IScheduler& scheduler_;
  std::function<void()> startUpRoutine_;
  IScheduler::TimerId timer1_ = 0;
  RepeatingTimer timer2_;
  int ticks_ = 0;
  bool routineDone_ = false;
  bool routineFailed_ = false;
  bool closed_ = false;
};

}  // namespace sonvarro
