#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/AdvanceSystem.h"
#include "engine/ConversionJob.h"
#include "engine/ConversionUnit.h"
#include "engine/CustomProc.h"
#include "engine/EncoderProcesses.h"
#include "player/PreviewGraph.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "services/FileFunc.h"
#include "services/Scheduler.h"
#include "settings/FrmOption.h"
#include "shell/MainForm.h"
#include "shell/StartUp.h"
#include "sourcelist/CodeErrorForm.h"
#include "sourcelist/InitFileForm.h"
#include "ui/CodeErrorDialog.h"
#include "ui/ConvertingDialog.h"
#include "ui/FlashWindow.h"
#include "ui/InitFileDialog.h"
#include "ui/MainWindow.h"
#include "ui/OptionsDialog.h"
#include "ui/QtDesktop.h"
#include "ui/QtScheduler.h"
#include "ui/QtUserDialogs.h"

namespace sonvarro {

// What a test replaces; the program keeps every default.
struct AppSeams {
  std::string appFolder;                   // empty: the running program's folder
  std::string dataFolder;                  // empty: the platform's choice for the application folder
  IScheduler* scheduler = nullptr;         // none: the Qt event loop's
  platform::IDesktop* desktop = nullptr;   // none: the system's, with the toolkit's message boxes
  IUserDialogs* dialogs = nullptr;         // none: the toolkit's file, folder and input dialogs
  IEncoderProcesses* processes = nullptr;  // none: the machine's
  AdvanceSystemFactory newRunner;          // empty: the real runner
  // Ends the program, after the main window has closed or the machine's
  // power-off was asked for. Empty: leave the event loop at once.
  std::function<void()> quitApplication;
  std::function<void()> onJobFinished;  // after each conversion job; empty: nothing
  // Stands between the main window and its preview graph; empty: nothing
  // does. Tests watch the preview through it.
  std::function<std::unique_ptr<MediaGraph>(MediaGraph& preview)> wrapPreviewGraph;
  ConversionTimings timings;
  ModalLoop modalLoop;             // empty: modal windows run the toolkit's nested loop
  std::string exePath;             // empty: the running program (its version is shown)
  std::string previewAudioOutput;  // empty: the machine's sound output; tests give "null"
};

// The program's one composition root: the shared objects, the platform
// seams, the windows with their behaviour, and the wiring between them. The
// windows are created once, in the order the program needs them, and live
// as long as the root.
class AppRoot {
 public:
  explicit AppRoot(AppSeams seams = {});
  ~AppRoot();
  AppRoot(const AppRoot&) = delete;
  AppRoot& operator=(const AppRoot&) = delete;

  // Centres the main window on the screen and shows it; its first show runs
  // start-up.
  void Show();
  // Shows the main window and runs the event loop until the program ends;
  // the exit status. A start that failed ends at once.
  int Run();
  // Set once start-up asked the program to end: the exit status to end with.
  std::optional<int> TerminationRequested() const { return exitStatus_; }

  TAppFunc& AppFunc() { return appFunc_; }
  TCommonLib& Common() { return common_; }
  TCustomProc& Proc() { return proc_; }
  IScheduler& Scheduler() { return *scheduler_; }

  MainWindow& MainWindowSkin() { return frmMain_; }
  TFrmMainForm& MainWindowBehaviour() { return mainForm_; }
  OptionsDialog& OptionsDialogSkin() { return frmOption_; }
  TfrmOption& OptionsBehaviour() { return optionForm_; }
  // The option selectors of the main window and the Options dialog.
  OptionControls& OptionControlViews() { return options_; }
  ConvertingDialog& ProgressWindowSkin() { return frmConverting_; }
  InitFileDialog& AddFilesPopupSkin() { return frmInitFile_; }
  TFrmInitFileForm& AddFilesPopupBehaviour() { return mainForm_.AddFilesPopup(); }
  CodeErrorDialog& ErrorInfoSkin() { return frmCodeError_; }
  TFrmCodeErrorForm& ErrorInfoBehaviour() { return codeErrorForm_; }
  StartUp& StartUpSequence() { return startUp_; }
  ConversionUnit& Conversion() { return conversion_; }
  // The preview graph, drawing into the main window's video area. Building
  // it costs nothing: libmpv starts on its first activation or Prepare.
  PreviewGraph& FilterGraph() { return filterGraph_; }

 private:
  std::unique_ptr<QtScheduler> ownScheduler_;
  IScheduler* scheduler_;
  QtDesktop qtDesktop_;
  platform::IDesktop& desktop_;
  platform::IDesktop* previousLastResort_ = nullptr;
  std::string appFolder_;  // the program's files; the data folder is appFunc_'s
  TAppFunc appFunc_;
  TCommonLib common_;
  TFileFunc fileFunc_;
  TCustomProc proc_;
  SystemEncoderProcesses systemProcesses_;
  std::function<void()> quit_;

  // The windows, in the order they are created; the Options dialog, the
  // popup and "Error Info" belong to the main window.
  MainWindow frmMain_;
  OptionsDialog frmOption_;
  ConvertingDialog frmConverting_;
  InitFileDialog frmInitFile_;
  CodeErrorDialog frmCodeError_;
  QtUserDialogs mainWindowDialogs_;
  QtUserDialogs optionsDialogDialogs_;
  OptionControls options_;
  PreviewGraph filterGraph_;
  std::unique_ptr<MediaGraph> previewWrapper_;

  TfrmOption optionForm_;
  ConversionUnit conversion_;
  TFrmCodeErrorForm codeErrorForm_;
  std::optional<int> exitStatus_;
  StartUp startUp_;
  TFrmMainForm mainForm_;
};

}  // namespace sonvarro
