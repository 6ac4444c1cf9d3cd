#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <utility>

#include "engine/ProgressWindowControls.h"
#include "ui/QtControls.h"

namespace sonvarro {

// The progress window's widgets ("Converting"): shown without being modal
// while a job runs; the behaviour lives elsewhere and reaches the widgets
// through Controls().
class ConvertingDialog final : public QDialog {
  Q_OBJECT
 public:
  // Each show centres the window over centreOver, which does not own it.
  explicit ConvertingDialog(const QWidget* centreOver = nullptr);

  ProgressWindowControls& Controls() { return controls_; }
  // Hands every event to the behaviour's handlers.
  void Bind(ProgressWindowEvents events) { events_ = std::move(events); }

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
  void CentreOverOwner();

  QtWindow window_{this};
  QtLabelText info_, fileName_, persent_, state_;
  QtProgressBar total_, current_;
  ProgressWindowControls controls_;
  const QWidget* centreOver_;
  ProgressWindowEvents events_;
};

}  // namespace sonvarro
