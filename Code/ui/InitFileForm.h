#pragma once

#include <QDialog>
#include <QLabel>
#include <functional>
#include <string>
#include <vector>

#include "services/Scheduler.h"

namespace sonvarro {

// The popup shown while the files chosen in the open dialog are added. It
// comes up first and leaves the adding to its one-shot Timer2, so it is on
// screen before the adding occupies the user-interface thread; Timer1 turns
// a spinner meanwhile. It closes itself when the adding is done.
class TFrmInitFileForm final : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kTimer1IntervalMs = 1000;
  static constexpr int kTimer2DelayMs = 300;

  explicit TFrmInitFileForm(IScheduler& scheduler, QWidget* parent = nullptr);
  ~TFrmInitFileForm() override;

  // Replaces the list of paths the next show adds.
  void SetFileList(std::vector<std::string> paths);
  const std::vector<std::string>& FileList() const { return fileList_; }

  // Adds the list (set by the main window). The popup closes afterwards,
  // also when this throws.
  std::function<void(const std::vector<std::string>&)> AddFiles;

  int SpinnerStep() const { return spinnerStep_; }
  bool Timer1Enabled() const { return timer1_.Enabled(); }
  bool Timer2Enabled() const { return timer2_ != 0; }

  QLabel* lblInfo;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  // Esc and close requests are ignored: the popup closes itself once the
  // files are in.
  void reject() override {}

 private:
  void Timer1Timer();
  void Timer2Timer();

  IScheduler& scheduler_;
  std::vector<std::string> fileList_;
  int spinnerStep_ = 1;
  RepeatingTimer timer1_;
  IScheduler::TimerId timer2_ = 0;
};

}  // namespace sonvarro
