#pragma once

// Modal windows that wait for the user's answer. The main window is disabled
// while a job runs, and Qt disables the windows it owns with it; a box shown
// then (the failed files at the job's end, "Error Info" of an add that was
// still under way) would wait for an answer nobody can give, and hold the
// program for good.

#include <QDialog>

namespace sonvarro {

// Runs dialog modally, able to take its answer whatever its owner's state.
inline int ExecAnswerable(QDialog& dialog) {
  dialog.setEnabled(true);
  return dialog.exec();
}

// Gives back to the modal windows that window owns and shows the input its
// disabling took from them.
inline void KeepModalWindowsAnswerable(QWidget& window) {
  for (QWidget* owned : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (owned->isWindow() && owned->isVisible() && owned->isModal()) owned->setEnabled(true);
}

}  // namespace sonvarro
