#pragma once

#include <functional>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "services/Scheduler.h"
#include "services/platform/Desktop.h"

namespace sonvarro {

// The popup's controls.
struct InitFileFormControls {
  IWindow& window;  // modal, borderless; the user cannot close it
  ITextField& lblInfo;
};

// The popup shown while the files chosen in the open dialog are added
// (`TFrmInitFileForm`). It comes up first and leaves the adding to its
// one-shot Timer2, so it is on screen before the adding occupies the
// user-interface thread; Timer1 turns a spinner meanwhile. It closes itself
// when the adding is done, also when the adding failed.
class TFrmInitFileForm {
 public:
  static constexpr int kTimer1IntervalMs = 1000;
  static constexpr int kTimer2DelayMs = 300;
  static constexpr const char* kDesignCaption = "Installing File...";

  using AddFilesRoutine = std::function<void(const std::vector<std::string>& paths)>;

  // addFiles adds the list; onClosed runs once the popup has closed.
  TFrmInitFileForm(InitFileFormControls controls, IScheduler& scheduler, platform::IDesktop& desktop,
                   AddFilesRoutine addFiles, std::function<void()> onClosed);
  ~TFrmInitFileForm();
  TFrmInitFileForm(const TFrmInitFileForm&) = delete;
  TFrmInitFileForm& operator=(const TFrmInitFileForm&) = delete;

  // Replaces the list of paths the next show adds.
  void SetFileList(std::vector<std::string> paths);
  const std::vector<std::string>& FileList() const { return fileList_; }

  // Shows the popup and starts both timers.
  void Show();

  int SpinnerStep() const { return spinnerStep_; }
  bool Timer1Enabled() const { return timer1_.Enabled(); }
  bool Timer2Enabled() const { return timer2_ != 0; }

 private:
  void Timer1Timer();
  void Timer2Timer();
  void Close();

  InitFileFormControls controls_;
  IScheduler& scheduler_;
  platform::IDesktop& desktop_;  // lets the window draw before the adding
  AddFilesRoutine addFiles_;
  std::function<void()> onClosed_;
  std::vector<std::string> fileList_;
  int spinnerStep_ = 1;
  RepeatingTimer timer1_;
  IScheduler::TimerId timer2_ = 0;
};

}  // namespace sonvarro
