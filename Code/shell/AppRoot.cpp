#include "shell/AppRoot.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <utility>

#include "player/ProbeGraph.h"
#include "services/ApplicationTitle.h"
#include "services/platform/DataFolder.h"
#include "services/platform/ExecutableFolder.h"
#include "services/platform/Paths.h"
#include "ui/CodeErrorForm.h"
#include "ui/SourceFileDialogs.h"

namespace sonvarro {
namespace {

IScheduler& SchedulerOf(const AppSeams& seams, std::unique_ptr<QtScheduler>& own) {
  if (seams.scheduler) return *seams.scheduler;
  own = std::make_unique<QtScheduler>();
  return *own;
}

}  // namespace

AppRoot::AppRoot(AppSeams seams)
    : scheduler_(&SchedulerOf(seams, ownScheduler_)),
      appFolder_(
          platform::WithTrailingSeparator(seams.appFolder.empty() ? platform::ExecutableFolder() : seams.appFolder)),
      appFunc_(seams.dataFolder.empty() ? platform::DataFolder(appFolder_) : seams.dataFolder),
      common_(appFolder_, appFunc_),
      systemProcesses_(common_),
      frmOption_(&frmMain_),
      frmInitFile_(&frmMain_),
      options_{frmMain_.Widgets().outputFiletype,
               frmMain_.Widgets().profile,
               frmMain_.Widgets().options,
               frmOption_.videoSize,
               frmOption_.framerate,
               frmOption_.videoBitrate,
               frmOption_.aspectratio,
               frmOption_.audioBitrate,
               frmOption_.audioSample,
               frmOption_.audioVolumeGain,
               frmOption_.audioChannels,
               frmOption_.customProfile},
      filterGraph_(*scheduler_, *frmMain_.Widgets().DSVideoWindowEx1, PreviewSettings{seams.previewAudioOutput}),
      // The progress window is a window of its own, not a child of the main
      // window, so that disabling the main window leaves its Stop button usable.
      conversion_(
          {frmMain_.Grid(), options_, frmMain_.Widgets().outputFolder, frmMain_.Widgets().showOutputDirectory,
           frmMain_.Widgets().shutdown, frmMain_.WindowControl()},
          frmConverting_.Controls(),
          {*scheduler_, proc_, common_, appFunc_, fileFunc_, seams.processes ? *seams.processes : systemProcesses_,
           seams.newRunner ? std::move(seams.newRunner) : AdvanceSystemFactory(NewAdvanceSystem),
           seams.quitApplication ? std::move(seams.quitApplication)
                                 : std::function<void()>([] { QCoreApplication::exit(0); })},
          seams.timings),
      initFile_(frmInitFile_.Controls(), *scheduler_),
      optionForm_({frmOption_.WindowControl(), options_}, {appFunc_.GetDataPath(), common_, appFunc_}),
      startUp_({appFolder_, seams.exePath.empty() ? platform::ExecutablePath() : seams.exePath, *scheduler_,
                [this, modalLoop = seams.modalLoop] { return std::make_unique<FlashWindow>(&frmMain_, modalLoop); },
                [this](const std::string& caption) {
                  frmMain_.setWindowTitle(QString::fromStdString(caption));
                  frmMain_.Widgets().lblTitle->setText(QString::fromStdString(caption));
                },
                [this] { exitStatus_ = kFailedStartExitCode; }}),
      mainForm_({frmMain_.Grid(),
                 options_,
                 frmMain_.Widgets().outputFolder,
                 frmMain_.Widgets().showOutputDirectory,
                 frmMain_.Widgets().shutdown,
                 frmMain_.Timeline(),
                 {frmMain_.Widgets().logo, frmMain_.Widgets().curTime, frmMain_.Widgets().playState}},
                {appFunc_.GetDataPath(), *scheduler_, appFunc_, common_, initFile_, conversion_, optionForm_, proc_,
                 filterGraph_, filterGraph_.dstrckbrMainform()}) {
  // Message boxes become the toolkit's own, captioned with the title.
  if (!seams.keepDesktop) {
    desktop_.emplace(platform::Desktop());
    platform::SetDesktop(&*desktop_);
  }

  frmMain_.setWindowTitle(QString::fromLatin1(kApplicationTitle));
  // Until the product strings arrive with the start-up sequence, the
  // application title names the window.
  frmMain_.Widgets().lblTitle->setText(QString::fromLatin1(kApplicationTitle));

  mainForm_.dlgOpenSourceFile = [this](const std::string& initialDir) {
    return RunOpenSourceFileDialog(&frmMain_, initialDir);
  };
  mainForm_.pickOutputFolder = [this] { return PickOutputFolderDialog(&frmMain_); };
  mainForm_.showFileReadError = [this](const std::string& path) {
    TFrmCodeErrorForm form(&frmMain_);
    form.SetFileName(QString::fromStdString(path));
    form.Label2Click = [this] { mainForm_.Label3Click(); };
    form.exec();
  };
  mainForm_.newProbeGraph = [] { return std::make_unique<ProbeGraph>(); };
  mainForm_.endProcess = [] { QCoreApplication::quit(); };
  mainForm_.ShowSplash = [this] { return startUp_.ShowSplash(); };
  mainForm_.SoftInfo = &startUp_.SoftInfo();
  mainForm_.ApplicationObject = qobject_cast<QApplication*>(QCoreApplication::instance());
  // Restored first, so that the window comes back at its normal size.
  mainForm_.minimizeWindow = [this] {
    frmMain_.setWindowState((frmMain_.windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen)) |
                            Qt::WindowMinimized);
  };
  mainForm_.closeWindow = [this] { frmMain_.close(); };

  MainWindowEvents& events = frmMain_.Events;
  TFrmMainForm& form = mainForm_;
  events.FormShow = [this, &form] {
    form.FormShow();
    // libmpv's player is built now, on a thread of its own, so that the first
    // play is as quick as the next; a start that failed needs none.
    if (!exitStatus_) filterGraph_.Prepare();
  };
  events.btnOpenFileClick = [&form] { form.btnOpenFileClick(); };
  events.btnRemoveFileClick = [&form] { form.btnRemoveFileClick(); };
  events.btnClearFileClick = [&form] { form.btnClearFileClick(); };
  events.btnConvertClick = [&form] { form.btnConvertClick(); };
  events.btnSelectOutputFolderClick = [&form] { form.btnSelectOutputFolderClick(); };
  events.btnOptionsClick = [&form] { form.btnOptionsClick(); };
  events.btnPlayClick = [&form] { form.btnPlayClick(); };
  events.btnPauseClick = [&form] { form.btnPauseClick(); };
  events.btnStopClick = [&form] { form.btnStopClick(); };
  events.WMDropFiles = [&form](std::vector<std::string> paths) { form.WMDropFiles(std::move(paths)); };
  events.dxTreeSourceFileInfoKeyDown = [&form](int key) { form.dxTreeSourceFileInfoKeyDown(key); };
  events.dxTreeSourceFileInfoEndDrag = [&form] { form.dxTreeSourceFileInfoEndDrag(); };
  events.dxTreeSourceFileInfoKeyUp = [&form](int key) { form.dxTreeSourceFileInfoKeyUp(key); };
  events.actDxTreeListOnClickExecute = [&form] { form.actDxTreeListOnClickExecute(); };
  events.dxTreeSourceFileInfoEdited = [&form](int row) { form.dxTreeSourceFileInfoEdited(row); };
  events.dxtrlSourceFileStartTimeChange = [&form] { form.dxtrlSourceFileStartTimeChange(); };
  events.SetStartTimeAndPlay = [&form](int width) { form.SetStartTimeAndPlay(width); };
  events.Splitter2Moved = [&form](int width) { form.Splitter2Moved(width); };
  events.Panel2MouseDown = [&form](MouseButton b, const HeldModifiers& held) { form.Panel2MouseDown(b, held); };
  events.Panel3MouseDown = [&form](MouseButton b, const HeldModifiers& held) { form.Panel3MouseDown(b, held); };
  events.Panel4MouseDown = [&form](MouseButton b, const HeldModifiers& held) { form.Panel4MouseDown(b, held); };
  events.FormClose = [&form] { form.FormClose(); };
  events.PreviewKey = [&form](int key, const HeldModifiers& held) { form.PreviewKey(key, held); };
  events.actMinimizeExecute = [&form] { form.actMinimizeExecute(); };
  events.actCloseWindowExecute = [&form] { form.actCloseWindowExecute(); };
  events.ActSysHomePageExecute = [&form] { form.ActSysHomePageExecute(); };
  events.ActSysEmailExecute = [&form] { form.ActSysEmailExecute(); };
  events.ActSysHelpExecute = [&form] { form.ActSysHelpExecute(); };
  events.ActSysAboutExecute = [&form] { form.ActSysAboutExecute(); };
  events.Label3Click = [&form] { form.Label3Click(); };

  TfrmOption& option = optionForm_;
  optionForm_.InputQuery = [this](const std::string& caption, const std::string& prompt, const std::string& text) {
    return RunInputQuery(&frmOption_, caption, prompt, text);
  };
  frmOption_.Events = {[&option] { option.btnAddClick(); },    [&option] { option.btnSaveClick(); },
                       [&option] { option.btnDelClick(); },    [&option] { option.btnApplyClick(); },
                       [&option] { option.btnCancelClick(); }, [&option] { option.FormClose(); }};
  // Each item of a conversion is built with the custom profile the main
  // window shows, as stored now.
  conversion_.Builder().ApplyCustomProfile = [&option] { option.ApplyMainWindowProfile(); };

  frmConverting_.Events = conversion_.Form().Events();
  frmConverting_.Events.FormShow = [this] {
    CentreProgressWindow();
    conversion_.Form().FormShow();
  };
}

AppRoot::~AppRoot() {
  frmConverting_.Events = {};
  frmOption_.Events = {};
  frmMain_.Events = {};
  if (desktop_) platform::SetDesktop(nullptr);
}

void AppRoot::Show() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    frmMain_.move(screen->availableGeometry().center() - frmMain_.rect().center());
  }
  frmMain_.show();
}

int AppRoot::Run() {
  Show();
  // Start-up ran inside the first show; a failed one leaves before the event
  // loop, so nothing it would have readied is ever used.
  if (exitStatus_) return *exitStatus_;
  return QApplication::exec();
}

void AppRoot::CentreProgressWindow() {
  frmConverting_.adjustSize();
  const QRect main = frmMain_.frameGeometry();
  QRect own = frmConverting_.frameGeometry();
  own.moveCenter(main.center());
  frmConverting_.move(own.topLeft());
}

}  // namespace sonvarro
