#include <QIcon>

#include "app/AppRoot.h"
#include "services/ApplicationTitle.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
  sonvarro::Application application(argc, argv);
  sonvarro::Application::setApplicationName(QString::fromLatin1(sonvarro::kApplicationTitle));
  // The installed desktop entry and icon (packaging/): the desktop ties the
  // windows to the entry, and they carry the icon where the theme has it.
  sonvarro::Application::setDesktopFileName(QStringLiteral("sonvarro-converter"));
  sonvarro::Application::setWindowIcon(QIcon::fromTheme(QStringLiteral("sonvarro-converter")));
  sonvarro::AppRoot root;
  return root.Run();
}
