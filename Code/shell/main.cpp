#include "services/ApplicationTitle.h"
#include "shell/AppRoot.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
  sonvarro::Application application(argc, argv);
  sonvarro::Application::setApplicationName(QString::fromLatin1(sonvarro::kApplicationTitle));
  sonvarro::AppRoot root;
  return root.Run();
}
