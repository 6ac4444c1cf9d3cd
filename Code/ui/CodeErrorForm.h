#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <functional>

#include "ui/ClickableLabel.h"

namespace sonvarro {

// "Error Info": tells the user that a file could not be read and points to
// the codec download. Shown modally, one per unreadable file, so each names
// its own file on a line of its own.
class TFrmCodeErrorForm final : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmCodeErrorForm(QWidget* owner = nullptr);

  QLabel* Image1;
  QLabel* Label1;
  QLabel* lblFileName;     // the file's name; its full path in the tooltip
  ClickableLabel* Label2;  // the codec download link
  QPushButton* btnOK;

  // Names the file: its name alone, cut in the middle when it is wider than
  // the line, so that its start and its extension both stay in view.
  void SetFileName(const QString& path);

  // Raised by a click on the link.
  std::function<void()> Label2Click;
};

inline constexpr const char* kFileReadErrorText =
    "Files reading error! Please check your files or install a new codec.You can click the link to download "
    "the lastest codec.";

}  // namespace sonvarro
