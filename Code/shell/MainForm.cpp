#include "shell/MainForm.h"

#include <utility>

#include "IniFiles32/IniFile32.h"
#include "controls/KeyMap.h"
#include "engine/OptionLists.h"
#include "services/LastResort.h"
#include "settings/CustomProfiles.h"
#include "settings/DefaultFolders.h"
#include "settings/StoredChoices.h"
#include "sourcelist/AddSourceFiles.h"
#include "sourcelist/TrimRange.h"

namespace sonvarro {
namespace {

constexpr const char* kSaveSettingsFailed = "Save user settings error. ->";

}  // namespace

TFrmMainForm::TFrmMainForm(MainFormControls controls, MainFormParts parts)
    : controls_(controls),
      parts_(std::move(parts)),
      timeline_(controls_.dxTreeSourceFileInfo, controls_.Panel1, *this, parts_.scheduler),
      preview_(controls_.preview, {parts_.FilterGraph, parts_.dstrckbrMainform, controls_.dxTreeSourceFileInfo,
                                   parts_.proc, parts_.common, parts_.appFunc, parts_.desktop}),
      frmInitFile_(
          parts_.addFilesPopup, parts_.scheduler, parts_.desktop,
          [this](const std::vector<std::string>& paths) { AddChosenFiles(paths); },
          [this] {
            try {
              StoreInitDir();
            } catch (const IniFileError&) {
              // The adding has just reported the same failure.
            }
          }),
      tmrClearMemory_(parts_.scheduler, 1000, [this] { tmrClearMemoryTimer(); }) {
  tmrClearMemory_.Start();
  controls_.edtOutputFolder.SetText(DefaultOutputFolder());
  // Only the user's choices apply the profile; filling the lists does not. A
  // custom profile that cannot be applied is reported when it is chosen, not
  // again with every output type.
  controls_.options.cbbOutputFiletype.OnChange = [this] {
    ApplyProfile(controls_.options, [this] { parts_.frmOption.ApplyCustomProfile(true); });
  };
  controls_.options.cbbProfile.OnChange = [this] {
    ApplyProfile(controls_.options, [this] { parts_.frmOption.ApplyCustomProfile(); });
  };
}

UserSettingsControls TFrmMainForm::SettingsControls() {
  return {controls_.chkShowOutputDirectory, controls_.chkShutdown, controls_.edtOutputFolder};
}

MainWindowEvents TFrmMainForm::Events() {
  MainWindowEvents events;
  events.FormShow = [this] { FormShow(); };
  events.btnOpenFileClick = [this] { btnOpenFileClick(); };
  events.btnRemoveFileClick = [this] { btnRemoveFileClick(); };
  events.btnClearFileClick = [this] { btnClearFileClick(); };
  events.btnConvertClick = [this] { btnConvertClick(); };
  events.btnSelectOutputFolderClick = [this] { btnSelectOutputFolderClick(); };
  events.btnOptionsClick = [this] { btnOptionsClick(); };
  events.btnPlayClick = [this] { btnPlayClick(); };
  events.btnPauseClick = [this] { btnPauseClick(); };
  events.btnStopClick = [this] { btnStopClick(); };
  events.WMDropFiles = [this](std::vector<std::string> paths) { WMDropFiles(std::move(paths)); };
  events.dxTreeSourceFileInfoKeyDown = [this](int key) { dxTreeSourceFileInfoKeyDown(key); };
  events.dxTreeSourceFileInfoKeyUp = [this](int key) { dxTreeSourceFileInfoKeyUp(key); };
  events.actDxTreeListOnClickExecute = [this] { actDxTreeListOnClickExecute(); };
  events.dxTreeSourceFileInfoEdited = [this](int row) { dxTreeSourceFileInfoEdited(row); };
  events.dxtrlSourceFileStartTimeChange = [this] { dxtrlSourceFileStartTimeChange(); };
  events.SetStartTimeAndPlay = [this](int width) { SetStartTimeAndPlay(width); };
  events.Splitter2Moved = [this](int width) { Splitter2Moved(width); };
  events.Panel2MouseDown = [this](MouseButton button, const HeldModifiers& held) { Panel2MouseDown(button, held); };
  events.Panel3MouseDown = [this](MouseButton button, const HeldModifiers& held) { Panel3MouseDown(button, held); };
  events.Panel4MouseDown = [this](MouseButton button, const HeldModifiers& held) { Panel4MouseDown(button, held); };
  events.dxTreeSourceFileInfoEndDrag = [this] { dxTreeSourceFileInfoEndDrag(); };
  events.FormClose = [this] { FormClose(); };
  events.PreviewKey = [this](int key, const HeldModifiers& held) { PreviewKey(key, held); };
  events.actMinimizeExecute = [this] { actMinimizeExecute(); };
  events.actCloseWindowExecute = [this] { actCloseWindowExecute(); };
  events.ActSysHomePageExecute = [this] { ActSysHomePageExecute(); };
  events.ActSysEmailExecute = [this] { ActSysEmailExecute(); };
  events.ActSysHelpExecute = [this] { ActSysHelpExecute(); };
  events.ActSysAboutExecute = [this] { ActSysAboutExecute(); };
  events.Label3Click = [this] { Label3Click(); };
  return events;
}

void TFrmMainForm::FormShow() {
  if (!parts_.startUp.ShowSplash()) return;
  // Unreadable lists or settings are reported, and the window still takes
  // drops and applies the profile with what it has.
  RunGuarded([this] { LoadStoredChoices(parts_.dataFolder, controls_.options, SettingsControls()); });
  dropsAccepted_ = true;
  ApplyProfile(controls_.options, [this] { parts_.frmOption.ApplyCustomProfile(true); });
  // libmpv's player is built now, on a thread of its own, so that the first
  // play is as quick as the next; a program about to end needs none.
  if (!parts_.startUp.TerminationRequested()) parts_.FilterGraph.Prepare();
}

void TFrmMainForm::btnOpenFileClick() {
  const std::string initDir = GetInitDir(parts_.dataFolder);
  lastChosenFiles_ =
      SelectSourceFiles([this](const std::string& dir) { return parts_.dialogs.OpenSourceFiles(dir); }, true, initDir);
  frmInitFile_.SetFileList(lastChosenFiles_);
  frmInitFile_.Show();
}

void TFrmMainForm::AddChosenFiles(const std::vector<std::string>& paths) {
  AddFiles(paths);
  StoreInitDir();
}

void TFrmMainForm::StoreInitDir() {
  if (!lastChosenFiles_.empty()) SaveInitDir(parts_.dataFolder, lastChosenFiles_.front());
}

void TFrmMainForm::AddFiles(const std::vector<std::string>& paths) {
  // The windows paint while files are added, and posted work (another drop)
  // runs then too: files that arrive meanwhile wait for the ones before
  // them, so that each is checked against the list they made.
  filesToAdd_.insert(filesToAdd_.end(), paths.begin(), paths.end());
  if (adding_) return;
  adding_ = true;
  struct Done {
    TFrmMainForm& form;
    ~Done() {
      form.adding_ = false;
      form.filesToAdd_.clear();
    }
  } done{*this};
  while (!filesToAdd_.empty()) {
    const std::vector<std::string> batch = std::exchange(filesToAdd_, {});
    AddSourceFiles(controls_.dxTreeSourceFileInfo, batch,
                   {parts_.newProbeGraph, [this](const std::string& path) { parts_.codeErrorForm.ShowFor(path); },
                    [this] { SyncTimelineToSelection(); }, [this] { parts_.desktop.ProcessPendingPaints(); }});
  }
}

void TFrmMainForm::WMDropFiles(std::vector<std::string> paths) {
  if (!dropsAccepted_) return;
  parts_.scheduler.Post([this, paths = std::move(paths)] { AddFiles(paths); });
}

void TFrmMainForm::HandlesToEndsWhenListEmpty() {
  if (controls_.dxTreeSourceFileInfo.RowCount() == 0) timeline_.MoveHandlesToEnds();
}

void TFrmMainForm::btnRemoveFileClick() {
  RemoveSelectedFiles(controls_.dxTreeSourceFileInfo, parts_.desktop);
  HandlesToEndsWhenListEmpty();
  StopPreview();
  SyncTimelineToSelection();
}

void TFrmMainForm::dxTreeSourceFileInfoKeyDown(int key) {
  SyncTimelineToSelection();
  if (key != kKeyDelete) return;
  RemoveSelectedFiles(controls_.dxTreeSourceFileInfo, parts_.desktop);
  StopPreview();
  HandlesToEndsWhenListEmpty();
}

void TFrmMainForm::dxTreeSourceFileInfoKeyUp(int) { SyncTimelineToSelection(); }

void TFrmMainForm::actDxTreeListOnClickExecute() { SyncTimelineToSelection(); }

void TFrmMainForm::dxTreeSourceFileInfoEndDrag() { btnRemoveFileClick(); }

void TFrmMainForm::btnClearFileClick() {
  ClearSourceFiles(controls_.dxTreeSourceFileInfo);
  StopPreview();
  timeline_.MoveHandlesToEnds();
}

void TFrmMainForm::dxTreeSourceFileInfoEdited(int row) {
  CheckTrimRanges(controls_.dxTreeSourceFileInfo, row, timeline_.Values().TimelineReady, *this);
}

void TFrmMainForm::dxtrlSourceFileStartTimeChange() {
  ISourceGrid& grid = controls_.dxTreeSourceFileInfo;
  const int focused = grid.FocusedRow();
  if (focused >= 0 && grid.IsSelected(focused)) grid.SetFocusedRow(-1);
}

void TFrmMainForm::SyncTimelineToSelection() { timeline_.SyncTimelineToSelection(); }

void TFrmMainForm::SetStartTimeAndPlay(int panel2Width) { timeline_.DragStartHandle(panel2Width); }

void TFrmMainForm::Splitter2Moved(int panel3Width) { timeline_.DragEndHandle(panel3Width); }

void TFrmMainForm::Panel2MouseDown(MouseButton button, const HeldModifiers& held) {
  timeline_.Panel2MouseDown(button, held);
}

void TFrmMainForm::Panel3MouseDown(MouseButton button, const HeldModifiers& held) {
  timeline_.Panel3MouseDown(button, held);
}

void TFrmMainForm::Panel4MouseDown(MouseButton button, const HeldModifiers& held) {
  timeline_.Panel4MouseDown(button, held);
}

void TFrmMainForm::btnConvertClick() { parts_.conversion.btnConvertClick(); }

void TFrmMainForm::btnSelectOutputFolderClick() {
  ITextField& folder = controls_.edtOutputFolder;
  folder.SetText(
      SelectOutputFolder(parts_.common, folder.Text(), [this] { return parts_.dialogs.PickOutputFolder(); }));
}

void TFrmMainForm::btnOptionsClick() { parts_.frmOption.Show(); }

void TFrmMainForm::FormClose() {
  // A file being converted now would be left half-written.
  RunGuarded([this] { parts_.conversion.EndForExit(); });
  RunGuarded([this] { ReleasePreviewGraph(); });
  try {
    SaveUserSettings(parts_.dataFolder, SettingsControls());
    SaveOutputChoice(parts_.dataFolder, controls_.options.cbbOutputFiletype, controls_.options.cbbProfile);
  } catch (const std::exception& error) {
    // Closing always ends the program; the choices of this run are lost.
    parts_.appFunc.WriteLog(std::string(kSaveSettingsFailed) + error.what());
  }
  parts_.endProcess();
}

void TFrmMainForm::ReleasePreviewGraph() {
  parts_.FilterGraph.SetActive(false);
  parts_.FilterGraph.Clear();
}

void TFrmMainForm::PreviewKey(int key, const HeldModifiers& held) {
  switch (MapMainWindowKey(key, held)) {
    case MainWindowCommand::OpenFile: btnOpenFileClick(); break;
    case MainWindowCommand::RemoveFile: btnRemoveFileClick(); break;
    case MainWindowCommand::ClearFile: btnClearFileClick(); break;
    case MainWindowCommand::Convert: btnConvertClick(); break;
    case MainWindowCommand::SelectOutputFolder: btnSelectOutputFolderClick(); break;
    // A disabled button cannot be pressed, by key either.
    case MainWindowCommand::Options:
      if (controls_.options.btnOptions.Enabled()) btnOptionsClick();
      break;
    case MainWindowCommand::Help: ActSysHelpExecute(); break;
    case MainWindowCommand::Play: btnPlayClick(); break;
    case MainWindowCommand::Pause: btnPauseClick(); break;
    case MainWindowCommand::Stop: btnStopClick(); break;
    case MainWindowCommand::None: break;
  }
}

}  // namespace sonvarro
