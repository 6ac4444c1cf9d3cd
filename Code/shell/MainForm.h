#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "controls/Keys.h"
#include "controls/MainWindowEvents.h"
#include "controls/UserDialogs.h"
#include "engine/ConversionUnit.h"
#include "engine/OptionControls.h"
#include "player/MediaGraph.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "services/Scheduler.h"
#include "services/platform/Desktop.h"
#include "settings/FrmOption.h"
#include "settings/OutputFolder.h"
#include "settings/UserSettings.h"
#include "shell/PreviewPlayback.h"
#include "shell/RecSoftInfo.h"
#include "shell/StartUp.h"
#include "sourcelist/CodeErrorForm.h"
#include "sourcelist/InitFileForm.h"
#include "sourcelist/PreviewPlayer.h"
#include "sourcelist/SourceFiles.h"
#include "sourcelist/TrimTimeline.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro {

// The main window's controls as its behaviour sees them.
struct MainFormControls {
  ISourceGrid& dxTreeSourceFileInfo;
  OptionControls& options;
  ITextField& edtOutputFolder;
  ICheckBox& chkShowOutputDirectory;
  ICheckBox& chkShutdown;
  ITimelineStrip& Panel1;  // the trim timeline
  PreviewControls preview;
};

using ProbeGraphFactory = std::function<std::unique_ptr<MediaGraph>()>;

// The shared objects, the other windows' behaviour and the platform it works
// with. The references come last, so that leaving anything out does not
// compile.
struct MainFormParts {
  std::string dataFolder;  // ends in the path separator
  ProbeGraphFactory newProbeGraph;
  // Ends the program once the window has closed.
  std::function<void()> endProcess;
  void* applicationObject;  // what Form.dll is handed first
  IScheduler& scheduler;
  TAppFunc& appFunc;
  TCommonLib& common;
  ConversionUnit& conversion;  // behind the Convert button
  TfrmOption& frmOption;       // the Options dialog
  TCustomProc& proc;
  MediaGraph& FilterGraph;             // the preview graph
  PositionTrackBar& dstrckbrMainform;  // its position track bar
  StartUp& startUp;                    // the splash of the first show; the product record
  InitFileFormControls& addFilesPopup;
  TFrmCodeErrorForm& codeErrorForm;  // "Error Info"
  IUserDialogs& dialogs;             // the open dialog and the folder picker
  IWindowFrame& frame;               // the window's own minimise and close
  platform::IDesktop& desktop;       // links, help, the codec page; lets the window draw
};

// The main window's behaviour (`TFrmMainForm`): the source list commands,
// the output choices, the key map and the close. Its Qt skin raises these
// handlers; tests call them on plain controls.
class TFrmMainForm : private IPreviewPlayer {
 public:
  TFrmMainForm(MainFormControls controls, MainFormParts parts);
  TFrmMainForm(const TFrmMainForm&) = delete;
  TFrmMainForm& operator=(const TFrmMainForm&) = delete;

  // The handlers the window's skin raises.
  MainWindowEvents Events();

  // The window frame's commands (MainFormFrame.cpp).
  void actMinimizeExecute();
  void actCloseWindowExecute();
  void ActSysHomePageExecute();
  void ActSysEmailExecute();
  void ActSysHelpExecute();   // also F1
  void ActSysAboutExecute();  // the about box of Form.dll
  void Label3Click();         // the codec download page
  void tmrClearMemoryTimer();
  bool ClearMemoryTimerEnabled() const { return tmrClearMemory_.Enabled(); }

  // The first show: start-up with its splash; then the lists filled, the
  // settings loaded, drops taken and the preview's player readied. A start
  // that failed skips all of it.
  void FormShow();
  void btnOpenFileClick();
  void btnRemoveFileClick();
  void btnClearFileClick();
  void btnConvertClick();
  void btnSelectOutputFolderClick();  // also RzBmpButton1
  void btnOptionsClick();
  // Files dropped from a file manager; they are added once the drop has
  // returned, so the dragging program is not held while they are probed.
  void WMDropFiles(std::vector<std::string> paths);
  void dxTreeSourceFileInfoKeyDown(int key);
  // Rows dragged out of the grid and dropped anywhere else leave the list.
  void dxTreeSourceFileInfoEndDrag();
  void FormClose();
  // Key preview: every key pressed in the window, before the focused control.
  void PreviewKey(int key, const HeldModifiers& held);

  // An edit posted to a row of the grid (check box, Start Time, End Time):
  // the range checks run over every selected row and the edited one.
  void dxTreeSourceFileInfoEdited(int row);
  // The Start Time editor's value changed: the edited row gives up the
  // focus, which posts the value at once.
  void dxtrlSourceFileStartTimeChange();
  void dxTreeSourceFileInfoKeyUp(int key);
  void actDxTreeListOnClickExecute();  // a click in the grid

  // The timeline's handles: a step of a drag or its release, with the width
  // the handle's outer part asks for; presses beside the handles. The
  // timeline redraws the handles with its own timer, tmrPaintSP.
  void SetStartTimeAndPlay(int panel2Width);
  void Splitter2Moved(int panel3Width);
  void Panel2MouseDown(MouseButton button, const HeldModifiers& held);
  void Panel3MouseDown(MouseButton button, const HeldModifiers& held);
  void Panel4MouseDown(MouseButton button, const HeldModifiers& held);

  void SyncTimelineToSelection();
  TrimTimeline& Timeline() { return timeline_; }
  TFrmInitFileForm& AddFilesPopup() { return frmInitFile_; }

  // The preview's buttons (also Ctrl+P, Ctrl+U, Ctrl+T) and its position
  // track bar's tick.
  void btnPlayClick() { preview_.btnPlayClick(); }
  void btnPauseClick() { preview_.btnPauseClick(); }
  void btnStopClick() { preview_.btnStopClick(); }
  void dstrckbrMainformTimer(uint32_t currentMs, uint32_t durationMs) {
    preview_.dstrckbrMainformTimer(currentMs, durationMs);
  }
  PreviewPlayback& Preview() { return preview_; }
  void StopPreview() override { preview_.StopPreview(); }

  bool DropsAccepted() const { return dropsAccepted_; }

 private:
  void AddFiles(const std::vector<std::string>& paths);
  void AddChosenFiles(const std::vector<std::string>& paths);
  void StoreInitDir();
  UserSettingsControls SettingsControls();
  void HandlesToEndsWhenListEmpty();
  // The preview's graph, released first on closing: deactivated and cleared.
  void ReleasePreviewGraph();
  const RecSoftInfo& SoftInfo() const;

  bool PreviewActive() const override { return parts_.FilterGraph.Active(); }
  void SeekPreview(int64_t positionMs) override { parts_.FilterGraph.SeekTo(positionMs); }
  std::string LoadedFile() const override { return parts_.common.LoadedFile; }

  MainFormControls controls_;
  MainFormParts parts_;
  bool dropsAccepted_ = false;
  std::vector<std::string> lastChosenFiles_;
  bool adding_ = false;
  std::vector<std::string> filesToAdd_;  // arrived while others were being added
  TrimTimeline timeline_;
  PreviewPlayback preview_;
  TFrmInitFileForm frmInitFile_;  // the add-files popup
  RepeatingTimer tmrClearMemory_;
};

// The help file in the application folder.
inline constexpr const char* kHelpFileName = "Help.chm";
// The same pages as HTML, in a folder beside it, for desktops that have no
// program for the help file.
inline constexpr const char* kHelpPagesFolder = "Help";
inline constexpr const char* kHelpPagesIndex = "index.htm";

}  // namespace sonvarro
