#include <QApplication>
#include <QScreen>

#include "services/AppFunc.h"
#include "services/ApplicationTitle.h"
#include "services/CommonLib.h"
#include "services/platform/Desktop.h"
#include "shell/MainForm.h"
#include "ui/ConvertingDialog.h"
#include "ui/InitFileForm.h"
#include "ui/OptionsDialog.h"
#include "ui/QtDesktop.h"
#include "ui/QtScheduler.h"

int main(int argc, char** argv) {
  using namespace sonvarro;
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));

  // Message boxes become the toolkit's own, captioned with the title.
  QtDesktop desktop(platform::Desktop());
  platform::SetDesktop(&desktop);

  QtScheduler scheduler;
  TAppFunc appFunc;
  TCommonLib common(appFunc.GetAppPath(), appFunc);

  TFrmMainForm frmMain({appFunc.GetAppPath(), scheduler, appFunc, common});
  ConvertingDialog frmConverting(&frmMain);
  OptionsDialog frmOption(&frmMain);
  TFrmInitFileForm frmInitFile(scheduler, &frmMain);
  frmMain.AttachOptionsDialog(frmOption);
  frmMain.AttachInitFileForm(frmInitFile);

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    frmMain.move(screen->availableGeometry().center() - frmMain.rect().center());
  }
  frmMain.show();
  const int result = QApplication::exec();
  platform::SetDesktop(nullptr);
  return result;
}
