#include "ui/QtDesktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include "ui/AnswerableDialog.h"

namespace sonvarro {
namespace {

// A box nobody answers within closeAfterMs (when above 0) closes itself and
// gives None.
platform::MessageAnswer RunMessageBox(const std::string& caption, const std::string& text, platform::MessageIcon icon,
                                      platform::MessageButtons buttons, int closeAfterMs) {
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
  bool closedItself = false;
  if (closeAfterMs > 0) {
    QTimer::singleShot(closeAfterMs, &box, [&box, &closedItself] {
      closedItself = true;
      box.done(0);
    });
  }
  const int result = ExecAnswerable(box);
  if (closedItself) return MessageAnswer::None;
  switch (result) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return MessageAnswer::None;
  }
}

}  // namespace

platform::MessageAnswer QtDesktop::ShowMessage(const std::string& caption, const std::string& text,
                                               platform::MessageIcon icon, platform::MessageButtons buttons) {
  return RunMessageBox(caption, text, icon, buttons, 0);
}

platform::MessageAnswer QtDesktop::ShowMessageClosingAfter(const std::string& caption, const std::string& text,
                                                           platform::MessageIcon icon, platform::MessageButtons buttons,
                                                           int closeAfterMs) {
  return RunMessageBox(caption, text, icon, buttons, closeAfterMs);
}

void QtDesktop::ProcessPendingEvents() { QCoreApplication::processEvents(); }

void QtDesktop::ProcessPendingPaints() { LetWindowsPaint(); }

void LetWindowsPaint() {
  static QElapsedTimer sinceLast;
  if (sinceLast.isValid() && sinceLast.elapsed() < kPaintIntervalMs) return;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  sinceLast.start();
}

}  // namespace sonvarro
