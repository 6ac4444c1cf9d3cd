#include "ui/Application.h"

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
        preview->PreviewKey(*static_cast<QKeyEvent*>(event));
      }
    }
    result = QApplication::notify(receiver, event);
  });
  return result;
}

}  // namespace sonvarro
