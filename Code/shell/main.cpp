#include <QApplication>
#include <QScreen>

#include "engine/CustomProc.h"
#include "services/AppFunc.h"
#include "services/ApplicationTitle.h"
#include "services/CommonLib.h"
#include "services/FileFunc.h"
#include "services/platform/Desktop.h"
#include "shell/MainForm.h"
#include "ui/Application.h"
#include "ui/ConversionUnit.h"
#include "ui/InitFileForm.h"
#include "ui/OptionsDialog.h"
#include "ui/QtDesktop.h"
#include "ui/QtScheduler.h"

int main(int argc, char** argv) {
  using namespace sonvarro;
  Application application(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));

  // Message boxes become the toolkit's own, captioned with the title.
  QtDesktop desktop(platform::Desktop());
  platform::SetDesktop(&desktop);

  QtScheduler scheduler;
  TAppFunc appFunc;
  TCommonLib common(appFunc.GetAppPath(), appFunc);
  TFileFunc fileFunc;
  TCustomProc proc;

  // The windows live until the program ends. The Options dialog comes before
  // the progress window: the conversion binds the dialog's selectors.
  TFrmMainForm frmMain({appFunc.GetAppPath(), scheduler, appFunc, common});
  OptionsDialog frmOption(&frmMain);
  frmMain.AttachOptionsDialog(frmOption);
  MainWindowWidgets& widgets = frmMain.Widgets();
  ConversionUnit frmConverting({*widgets.dxTreeSourceFileInfo, frmMain.Options(), widgets.outputFolder,
                                widgets.showOutputDirectory, widgets.shutdown, frmMain.WindowControl()},
                               {proc, common, appFunc, fileFunc}, &frmMain);
  frmMain.AttachConversion(frmConverting);
  TFrmInitFileForm frmInitFile(scheduler, &frmMain);
  frmMain.AttachInitFileForm(frmInitFile);

  // Until the product strings arrive with the start-up sequence, the
  // application title names the window.
  frmMain.setWindowTitle(QString::fromLatin1(kApplicationTitle));
  widgets.lblTitle->setText(QString::fromLatin1(kApplicationTitle));

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    frmMain.move(screen->availableGeometry().center() - frmMain.rect().center());
  }
  frmMain.show();
  const int result = QApplication::exec();
  platform::SetDesktop(nullptr);
  return result;
}
