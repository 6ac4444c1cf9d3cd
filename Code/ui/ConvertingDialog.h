#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "engine/ProgressWindowControls.h"
#include "ui/QtControls.h"

namespace sonvarro {

// The progress window's widgets ("Converting"): shown without being modal
// while a job runs; the behaviour lives elsewhere and reaches the widgets
// through Controls().
class ConvertingDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit ConvertingDialog(QWidget* parent = nullptr);

  ProgressWindowControls& Controls() { return controls_; }
  ProgressWindowEvents Events;

  QLabel* lblInfo;
  QLabel* lblCurConvertFileL;
  QLabel* lblCurFileName;
  QLabel* lblTotalFilr;
  QProgressBar* pbTotal;
  QLabel* lblCurprog;
  QProgressBar* ProgressBar1;
  QLabel* lblPersent;
  QPushButton* btnStop;
  QStatusBar* statState;
  QLabel* statStatePanel;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Esc asks as the close button does

 private:
  QtWindow window_{this};
  QtLabelText info_, fileName_, persent_, state_;
  QtProgressBar total_, current_;
  ProgressWindowControls controls_;
};

}  // namespace sonvarro
