#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <functional>

#include "ui/ClickableLabel.h"

namespace sonvarro {

// "Error Info": tells the user that a file could not be read and points to
// the codec download. Shown modally, one per unreadable file.
class TFrmCodeErrorForm final : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmCodeErrorForm(QWidget* owner = nullptr);

  QLabel* Image1;
  QLabel* Label1;
  ClickableLabel* Label2;  // the codec download link
  QPushButton* btnOK;

  // Raised by a click on the link.
  std::function<void()> Label2Click;
};

inline constexpr const char* kFileReadErrorText =
    "Files reading error! Please check your files or install a new codec.You can click the link to download "
    "the lastest codec.";

}  // namespace sonvarro
