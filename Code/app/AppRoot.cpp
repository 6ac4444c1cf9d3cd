#include "app/AppRoot.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <utility>

#include "player/ProbeGraph.h"
#include "services/ApplicationTitle.h"
#include "services/LastResort.h"
#include "services/platform/DataFolder.h"
#include "services/platform/ExecutableFolder.h"
#include "services/platform/Paths.h"

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
      qtDesktop_(platform::SystemDesktop()),
      desktop_(seams.desktop ? *seams.desktop : qtDesktop_),
      appFolder_(
          platform::WithTrailingSeparator(seams.appFolder.empty() ? platform::ExecutableFolder() : seams.appFolder)),
      appFunc_(seams.dataFolder.empty() ? platform::DataFolder(appFolder_) : seams.dataFolder),
      common_(appFolder_, appFunc_, desktop_),
      systemProcesses_(common_),
      quit_(seams.quitApplication ? std::move(seams.quitApplication)
                                  : std::function<void()>([] { QCoreApplication::exit(0); })),
      frmOption_(&frmMain_),
      // The progress window is a window of its own, not a child of the main
      // window, so that disabling the main window leaves its Stop button
      // usable.
      frmConverting_(&frmMain_),
      frmInitFile_(&frmMain_),
      frmCodeError_(&frmMain_),
      mainWindowDialogs_(&frmMain_),
      optionsDialogDialogs_(&frmOption_),
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
      previewWrapper_(seams.wrapPreviewGraph ? seams.wrapPreviewGraph(filterGraph_) : nullptr),
      optionForm_({frmOption_.WindowControl(), options_},
                  {appFunc_.GetDataPath(), common_, appFunc_,
                   seams.dialogs ? *seams.dialogs : static_cast<IUserDialogs&>(optionsDialogDialogs_)}),
      conversion_(
          {frmMain_.Grid(), options_, frmMain_.Widgets().outputFolder, frmMain_.Widgets().showOutputDirectory,
           frmMain_.Widgets().shutdown, frmMain_.WindowControl()},
          frmConverting_.Controls(),
          {*scheduler_, proc_, common_, appFunc_, fileFunc_, seams.processes ? *seams.processes : systemProcesses_,
           // Each item of a conversion is built with the custom profile
           // the main window shows, as stored now.
           optionForm_, desktop_, seams.newRunner ? std::move(seams.newRunner) : AdvanceSystemFactory(NewAdvanceSystem),
           quit_, std::move(seams.onJobFinished)},
          seams.timings),
      codeErrorForm_(frmCodeError_.Controls(), desktop_),
      startUp_({appFolder_, seams.exePath.empty() ? platform::ExecutablePath().ValueOr({}) : seams.exePath, *scheduler_,
                desktop_,
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
                {appFunc_.GetDataPath(), [] { return std::make_unique<ProbeGraph>(); }, quit_,
                 qobject_cast<QApplication*>(QCoreApplication::instance()), *scheduler_, appFunc_, common_, conversion_,
                 optionForm_, proc_, previewWrapper_ ? *previewWrapper_ : static_cast<MediaGraph&>(filterGraph_),
                 filterGraph_.dstrckbrMainform(), startUp_, frmInitFile_.Controls(), codeErrorForm_,
                 seams.dialogs ? *seams.dialogs : static_cast<IUserDialogs&>(mainWindowDialogs_), frmMain_.Frame(),
                 desktop_}) {
  // An error no handler caught is shown on the same desktop.
  previousLastResort_ = InstallLastResortDesktop(&desktop_);

  frmMain_.setWindowTitle(QString::fromLatin1(kApplicationTitle));
  // Until the product strings arrive with the start-up sequence, the
  // application title names the window.
  frmMain_.Widgets().lblTitle->setText(QString::fromLatin1(kApplicationTitle));

  frmMain_.Bind(mainForm_.Events());
  frmOption_.Bind(optionForm_.Events());
  frmConverting_.Bind(conversion_.ProgressBehaviour().Events());
  frmCodeError_.Bind(codeErrorForm_.Events());
}

AppRoot::~AppRoot() {
  frmCodeError_.Bind({});
  frmConverting_.Bind({});
  frmOption_.Bind({});
  frmMain_.Bind({});
  InstallLastResortDesktop(previousLastResort_);
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

}  // namespace sonvarro
