#pragma once

#include <QDialog>
#include <QLabel>

#include "sourcelist/InitFileForm.h"
#include "ui/QtControls.h"

namespace sonvarro {

// The add-files popup's widgets: a borderless modal box of 273 x 45 with the
// spinner label, centred on its owner. Its behaviour (TFrmInitFileForm)
// shows and hides it; the user cannot close it.
class InitFileDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit InitFileDialog(QWidget* owner = nullptr);

  InitFileFormControls& Controls() { return controls_; }

  QLabel* lblInfo;

 protected:
  void showEvent(QShowEvent* event) override;
  // Esc and close requests are ignored: the popup closes itself once the
  // files are in.
  void reject() override {}

 private:
  QtWindow window_{this};
  QtLabelText info_{lblInfo};
  InitFileFormControls controls_{window_, info_};
};

}  // namespace sonvarro
