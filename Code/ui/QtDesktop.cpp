#include "ui/QtDesktop.h"

#include <QApplication>
#include <QMessageBox>

namespace sonvarro {

platform::MessageAnswer QtDesktop::ShowMessage(const std::string& caption, const std::string& text,
                                               platform::MessageIcon icon, platform::MessageButtons buttons) {
  using platform::MessageAnswer;
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  switch (icon) {
    case platform::MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case platform::MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case platform::MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case platform::MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
  }
  switch (buttons) {
    case platform::MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case platform::MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case platform::MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return MessageAnswer::None;
  }
}

void QtDesktop::ProcessPendingEvents() { QCoreApplication::processEvents(); }

}  // namespace sonvarro
