#include "shell/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QVBoxLayout>

#include "IniFiles32/IniFile32.h"
#include "engine/OptionLists.h"
#include "player/ProbeGraph.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "services/LastResort.h"
#include "settings/ConfigFiles.h"
#include "settings/DefaultFolders.h"
#include "shell/KeyMap.h"
#include "ui/CodeErrorForm.h"
#include "ui/ConversionUnit.h"
#include "ui/Guarded.h"
#include "ui/InitFileForm.h"
#include "ui/OptionsDialog.h"
#include "ui/SourceFileDialogs.h"

namespace sonvarro {
namespace {

constexpr int kMinimumWidth = 686;
constexpr int kMinimumHeight = 519;
constexpr const char* kCustomProfilesFile = "UserProfileInfo.ini";
constexpr const char* kSaveSettingsFailed = "Save user settings error. ->";

}  // namespace

TFrmMainForm::TFrmMainForm(MainFormServices services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)), widgets_(new MainWindowWidgets(this)) {
  setObjectName("TFrmMainForm");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(widgets_);
  resize(widgets_->size());
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  widgets_->edtOutputFolder->setText(QString::fromStdString(DefaultOutputFolder()));

  dlgOpenSourceFile = [this](const std::string& initialDir) { return RunOpenSourceFileDialog(this, initialDir); };
  pickOutputFolder = [this] { return PickOutputFolderDialog(this); };
  showFileReadError = [this] {
    TFrmCodeErrorForm form(this);
    form.exec();
  };
  endProcess = [] { QCoreApplication::quit(); };

  MainWindowWidgets& w = *widgets_;
  connect(w.btnOpenFile, &QPushButton::clicked, this, Guarded([this] { btnOpenFileClick(); }));
  connect(w.btnRemoveFile, &QPushButton::clicked, this, Guarded([this] { btnRemoveFileClick(); }));
  connect(w.btnClearFile, &QPushButton::clicked, this, Guarded([this] { btnClearFileClick(); }));
  connect(w.btnConvert, &QPushButton::clicked, this, Guarded([this] { btnConvertClick(); }));
  connect(w.RzBmpButton1, &QPushButton::clicked, this, Guarded([this] { btnSelectOutputFolderClick(); }));
  connect(w.btnSelectOutputFolder, &QPushButton::clicked, this, Guarded([this] { btnSelectOutputFolderClick(); }));
  // btnOptions opens the Options dialog once that dialog has its own
  // behaviour; until then it stays out of sight rather than do nothing.
  w.btnOptions->hide();
  connect(w.dxTreeSourceFileInfo, &SourceGrid::keyDown, this,
          [this](int key) { RunGuarded([&] { dxTreeSourceFileInfoKeyDown(key); }); });
  connect(w.dxTreeSourceFileInfo, &SourceGrid::rowsDraggedOut, w.btnRemoveFile, &QPushButton::click);
  connect(w.dxTreeSourceFileInfo, &SourceGrid::filesDropped, this,
          [this](const QStringList& paths) { RunGuarded([&] { WMDropFiles(paths); }); });
  setAcceptDrops(true);
}

TFrmMainForm::~TFrmMainForm() = default;

void TFrmMainForm::AttachOptionsDialog(OptionsDialog& frmOption) {
  MainWindowWidgets& w = *widgets_;
  options_.reset(new OptionControls{w.outputFiletype, w.profile, w.options, frmOption.videoSize, frmOption.framerate,
                                    frmOption.videoBitrate, frmOption.aspectratio, frmOption.audioBitrate,
                                    frmOption.audioSample, frmOption.audioVolumeGain, frmOption.audioChannels,
                                    frmOption.customProfile});
  // Only the user's choices apply the profile; filling the lists does not.
  const auto applyProfile = [this] { ApplyProfile(*options_, [] {}); };
  w.outputFiletype.OnChange = applyProfile;
  w.profile.OnChange = applyProfile;
}

void TFrmMainForm::AttachInitFileForm(TFrmInitFileForm& frmInitFile) {
  frmInitFile_ = &frmInitFile;
  frmInitFile.AddFiles = [this](const std::vector<std::string>& paths) { AddChosenFiles(paths); };
  connect(&frmInitFile, &QDialog::finished, this, [this] {
    try {
      StoreInitDir();
    } catch (const IniFileError&) {
      // The adding has just reported the same failure.
    }
  });
}

void TFrmMainForm::AttachConversion(ConversionUnit& conversion) { conversion_ = &conversion; }

UserSettingsControls TFrmMainForm::SettingsControls() {
  return {widgets_->showOutputDirectory, widgets_->shutdown, widgets_->outputFolder};
}

void TFrmMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shown_) {
    shown_ = true;
    RunGuarded([this] { FormShow(); });
  }
}

void TFrmMainForm::FormShow() {
  // Unreadable lists or settings are reported, and the window still takes
  // drops and applies the profile with what it has.
  RunGuarded([this] {
    FillOptionLists(*options_, ReadConfigSections(services_.appFolder, kCustomProfilesFile));
    LoadUserSettings(services_.appFolder, SettingsControls());
  });
  dropsAccepted_ = true;
  ApplyProfile(*options_, [] {});
}

void TFrmMainForm::btnOpenFileClick() {
  const std::string initDir = GetInitDir(services_.appFolder);
  lastChosenFiles_ = SelectSourceFiles(dlgOpenSourceFile, true, initDir);
  frmInitFile_->SetFileList(lastChosenFiles_);
  frmInitFile_->show();
}

void TFrmMainForm::AddChosenFiles(const std::vector<std::string>& paths) {
  AddFiles(paths);
  StoreInitDir();
}

void TFrmMainForm::StoreInitDir() {
  if (!lastChosenFiles_.empty()) SaveInitDir(services_.appFolder, lastChosenFiles_.front());
}

void TFrmMainForm::AddFiles(const std::vector<std::string>& paths) {
  AddSourceFiles(*widgets_->dxTreeSourceFileInfo, paths,
                 {[] { return std::make_unique<ProbeGraph>(); }, [this] { showFileReadError(); },
                  [this] { SyncTimelineToSelection(); }});
}

void TFrmMainForm::WMDropFiles(const QStringList& paths) {
  if (!dropsAccepted_) return;
  std::vector<std::string> files;
  for (const QString& path : paths) files.push_back(path.toStdString());
  // Added once the drop has returned, so the file manager that dragged them
  // is not held while they are probed and errors are shown.
  services_.scheduler.Post([this, files = std::move(files)] { AddFiles(files); });
}

void TFrmMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (dropsAccepted_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TFrmMainForm::dragMoveEvent(QDragMoveEvent* event) {
  if (dropsAccepted_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TFrmMainForm::dropEvent(QDropEvent* event) {
  const QStringList files = LocalFilesOf(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  RunGuarded([&] { WMDropFiles(files); });
}

void TFrmMainForm::btnRemoveFileClick() {
  RemoveSelectedFiles(*widgets_->dxTreeSourceFileInfo);
  StopPreview();
  SyncTimelineToSelection();
}

void TFrmMainForm::dxTreeSourceFileInfoKeyDown(int key) {
  SyncTimelineToSelection();
  if (key != Qt::Key_Delete) return;
  RemoveSelectedFiles(*widgets_->dxTreeSourceFileInfo);
  StopPreview();
}

void TFrmMainForm::btnClearFileClick() {
  ClearSourceFiles(*widgets_->dxTreeSourceFileInfo);
  StopPreview();
}

void TFrmMainForm::btnConvertClick() {
  if (conversion_) conversion_->btnConvertClick();
}

void TFrmMainForm::btnSelectOutputFolderClick() {
  ITextField& folder = widgets_->outputFolder;
  folder.SetText(SelectOutputFolder(services_.common, folder.Text(), pickOutputFolder));
}

void TFrmMainForm::closeEvent(QCloseEvent* event) {
  event->accept();
  RunGuarded([this] { FormClose(); });
}

void TFrmMainForm::FormClose() {
  try {
    SaveUserSettings(services_.appFolder, SettingsControls());
  } catch (const std::exception& error) {
    // Closing always ends the program; the choices of this run are lost.
    services_.appFunc.WriteLog(std::string(kSaveSettingsFailed) + error.what());
  }
  endProcess();
}

void TFrmMainForm::PreviewKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers();
  const HeldModifiers held{modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::ShiftModifier),
                           modifiers.testFlag(Qt::AltModifier), QGuiApplication::mouseButtons() != Qt::NoButton};
  MainWindowWidgets& w = *widgets_;
  switch (MapMainWindowKey(key.key(), held)) {
    case MainWindowCommand::OpenFile: w.btnOpenFile->click(); break;
    case MainWindowCommand::RemoveFile: w.btnRemoveFile->click(); break;
    case MainWindowCommand::ClearFile: w.btnClearFile->click(); break;
    case MainWindowCommand::Convert: w.btnConvert->click(); break;
    case MainWindowCommand::SelectOutputFolder: w.btnSelectOutputFolder->click(); break;
    case MainWindowCommand::None: break;
  }
}

}  // namespace sonvarro
