#include "ui/Application.h"

#include <QPointer>
#include <QWidget>
#include <clocale>

#include "services/LastResort.h"

namespace sonvarro {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // QApplication takes the user's locale for C's number formats, which
  // libmpv refuses to start under: it reads and writes numbers the C way.
  std::setlocale(LC_NUMERIC, "C");
}

bool Application::notify(QObject* receiver, QEvent* event) {
  bool result = false;
  RunGuarded([&] {
    // notify runs once per event; the climb from the focused control to its
    // parents happens inside it, so the preview sees each key exactly once.
    if (event->type() == QEvent::KeyPress && receiver->isWidgetType()) {
      if (auto* preview = dynamic_cast<KeyPreviewWindow*>(static_cast<QWidget*>(receiver)->window())) {
        // The preview may run a whole job or a modal dialog, whose event
        // loop can close the control the key was meant for (a trim time's
        // editor): then the key has nobody left to go to.
        const QPointer<QObject> stillThere(receiver);
        preview->PreviewKey(*static_cast<QKeyEvent*>(event));
        if (!stillThere) return;
      }
    }
    result = QApplication::notify(receiver, event);
  });
  return result;
}

}  // namespace sonvarro
