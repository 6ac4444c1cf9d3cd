#include "shell/MainForm.h"

#include <utility>

#include "IniFiles32/IniFile32.h"
#include "engine/OptionLists.h"
#include "services/LastResort.h"
#include "settings/ConfigFiles.h"
#include "settings/DefaultFolders.h"
#include "shell/KeyMap.h"
#include "sourcelist/AddSourceFiles.h"

namespace sonvarro {
namespace {

constexpr const char* kCustomProfilesFile = "UserProfileInfo.ini";
constexpr const char* kSaveSettingsFailed = "Save user settings error. ->";

}  // namespace

TFrmMainForm::TFrmMainForm(MainFormControls controls, MainFormParts parts)
    : controls_(controls),
      parts_(std::move(parts)),
      tmrClearMemory_(parts_.scheduler, 1000, [this] { tmrClearMemoryTimer(); }) {
  tmrClearMemory_.Start();
  controls_.edtOutputFolder.SetText(DefaultOutputFolder());
  parts_.frmInitFile.AddFiles = [this](const std::vector<std::string>& paths) { AddChosenFiles(paths); };
  parts_.frmInitFile.OnClosed = [this] {
    try {
      StoreInitDir();
    } catch (const IniFileError&) {
      // The adding has just reported the same failure.
    }
  };
  // Only the user's choices apply the profile; filling the lists does not.
  const auto applyProfile = [this] { ApplyProfile(controls_.options, [] {}); };
  controls_.options.cbbOutputFiletype.OnChange = applyProfile;
  controls_.options.cbbProfile.OnChange = applyProfile;
}

UserSettingsControls TFrmMainForm::SettingsControls() {
  return {controls_.chkShowOutputDirectory, controls_.chkShutdown, controls_.edtOutputFolder};
}

void TFrmMainForm::FormShow() {
  if (ShowSplash && !ShowSplash()) return;
  // Unreadable lists or settings are reported, and the window still takes
  // drops and applies the profile with what it has.
  RunGuarded([this] {
    FillOptionLists(controls_.options, ReadConfigSections(parts_.appFolder, kCustomProfilesFile));
    LoadUserSettings(parts_.appFolder, SettingsControls());
  });
  dropsAccepted_ = true;
  ApplyProfile(controls_.options, [] {});
}

void TFrmMainForm::btnOpenFileClick() {
  const std::string initDir = GetInitDir(parts_.appFolder);
  lastChosenFiles_ = SelectSourceFiles(dlgOpenSourceFile, true, initDir);
  parts_.frmInitFile.SetFileList(lastChosenFiles_);
  parts_.frmInitFile.Show();
}

void TFrmMainForm::AddChosenFiles(const std::vector<std::string>& paths) {
  AddFiles(paths);
  StoreInitDir();
}

void TFrmMainForm::StoreInitDir() {
  if (!lastChosenFiles_.empty()) SaveInitDir(parts_.appFolder, lastChosenFiles_.front());
}

void TFrmMainForm::AddFiles(const std::vector<std::string>& paths) {
  AddSourceFiles(controls_.dxTreeSourceFileInfo, paths,
                 {newProbeGraph, [this] { showFileReadError(); }, [this] { SyncTimelineToSelection(); }});
}

void TFrmMainForm::WMDropFiles(std::vector<std::string> paths) {
  if (!dropsAccepted_) return;
  parts_.scheduler.Post([this, paths = std::move(paths)] { AddFiles(paths); });
}

void TFrmMainForm::btnRemoveFileClick() {
  RemoveSelectedFiles(controls_.dxTreeSourceFileInfo);
  StopPreview();
  SyncTimelineToSelection();
}

void TFrmMainForm::dxTreeSourceFileInfoKeyDown(int key) {
  SyncTimelineToSelection();
  if (key != kKeyDelete) return;
  RemoveSelectedFiles(controls_.dxTreeSourceFileInfo);
  StopPreview();
}

void TFrmMainForm::dxTreeSourceFileInfoEndDrag() { btnRemoveFileClick(); }

void TFrmMainForm::btnClearFileClick() {
  ClearSourceFiles(controls_.dxTreeSourceFileInfo);
  StopPreview();
}

void TFrmMainForm::btnConvertClick() { parts_.conversion.btnConvertClick(); }

void TFrmMainForm::btnSelectOutputFolderClick() {
  ITextField& folder = controls_.edtOutputFolder;
  folder.SetText(SelectOutputFolder(parts_.common, folder.Text(), pickOutputFolder));
}

void TFrmMainForm::FormClose() {
  if (releasePreviewGraph) RunGuarded(releasePreviewGraph);
  try {
    SaveUserSettings(parts_.appFolder, SettingsControls());
  } catch (const std::exception& error) {
    // Closing always ends the program; the choices of this run are lost.
    parts_.appFunc.WriteLog(std::string(kSaveSettingsFailed) + error.what());
  }
  endProcess();
}

void TFrmMainForm::PreviewKey(int key, const HeldModifiers& held) {
  switch (MapMainWindowKey(key, held)) {
    case MainWindowCommand::OpenFile: btnOpenFileClick(); break;
    case MainWindowCommand::RemoveFile: btnRemoveFileClick(); break;
    case MainWindowCommand::ClearFile: btnClearFileClick(); break;
    case MainWindowCommand::Convert: btnConvertClick(); break;
    case MainWindowCommand::SelectOutputFolder: btnSelectOutputFolderClick(); break;
    case MainWindowCommand::Help: ActSysHelpExecute(); break;
    case MainWindowCommand::None: break;
  }
}

}  // namespace sonvarro
