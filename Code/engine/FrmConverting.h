#pragma once

#include "controls/Controls.h"
#include "engine/CustomProc.h"
#include "engine/EncoderStopper.h"
#include "engine/ProgressWindowControls.h"
#include "services/CommonLib.h"
#include "services/Scheduler.h"
#include "services/platform/Desktop.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro {

inline constexpr int kSpinnerIntervalMs = 500;
inline constexpr const char* kStopQuestion = "Are you sure you want to stop the work ? ";
inline constexpr const char* kCloseQuestion = "Are you sure to stop processing ?";
inline constexpr const char* kEmptyJobCounter = "Current: 1, Total: ...";

// What the progress window works with besides its own controls.
struct ConvertingParts {
  IScheduler& scheduler;
  TCustomProc& proc;        // the job's counters and runner
  TCommonLib& lib;          // Params of the item converting
  ISourceGrid& sourceList;  // its row count places a stop past the end
  IControl& mainWindow;     // enabled again by a stop
  EncoderStopper& stopper;
  platform::IDesktop& desktop;  // the stop and close questions
};

// The progress window's behaviour (`TfrmConverting`): shown by the job while
// it works, refreshed by each chunk of encoder output, and the place where
// the user stops the job.
class TfrmConverting {
 public:
  TfrmConverting(ProgressWindowControls& controls, ConvertingParts parts);

  // The handlers the window's view raises.
  ProgressWindowEvents Events();

  // Each time the window goes from hidden to visible.
  void FormShow();
  // Every 500 ms, shown or not: the animated status text.
  void tmrChangingTimer();
  // For one chunk of encoder output, already in the status bar.
  void actRefreshProgressExecute();
  // The Stop button: asks, then stops the job and its encoder.
  void btnStop1Click();
  // The user closes the window: asks, then ends the job after this row; the
  // after-job actions still run.
  void FormClose();

  ProgressWindowControls& Controls() { return controls_; }
  int SpinnerPhase = 0;

 private:
  bool UserConfirms(const char* question) const;
  // Hides the window, enables the main window and places the job past its
  // last row, so it ends when the current encoder is gone.
  void EndJobAfterThisRow();

  ProgressWindowControls& controls_;
  ConvertingParts parts_;
  RepeatingTimer tmrChanging_;
};

}  // namespace sonvarro
