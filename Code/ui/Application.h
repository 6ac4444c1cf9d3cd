#pragma once

#include <QApplication>
#include <QKeyEvent>

namespace sonvarro {

// A window that sees every key pressed in it before the control with the
// focus does, also when no control has the focus (key preview).
class KeyPreviewWindow {
 public:
  virtual ~KeyPreviewWindow() = default;
  virtual void PreviewKey(const QKeyEvent& key) = 0;
};

// The program's application object. Every event is delivered under the
// last-resort handler, so an error that a handler let through is shown and
// the event loop goes on; and each key press is shown once to the key
// preview of its window before it is delivered. Numbers are formatted the C
// way (LC_NUMERIC "C") from its construction on.
class Application final : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace sonvarro
