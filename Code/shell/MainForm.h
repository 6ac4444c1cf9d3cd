#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/OptionControls.h"
#include "services/Scheduler.h"
#include "settings/OutputFolder.h"
#include "settings/UserSettings.h"
#include "sourcelist/AddSourceFiles.h"
#include "sourcelist/SourceFiles.h"
#include "ui/Application.h"
#include "ui/MainWindowWidgets.h"

namespace sonvarro {

class ConversionUnit;
class OptionsDialog;
class TAppFunc;
class TCommonLib;
class TFrmInitFileForm;

// The shared objects the main window works with; they outlive it.
struct MainFormServices {
  std::string appFolder;  // ends in "/"
  IScheduler& scheduler;
  TAppFunc& appFunc;
  TCommonLib& common;
};

// The main window: the source list, the output choices and the commands
// around them. The other windows are created after it and attached.
class TFrmMainForm final : public QWidget, public KeyPreviewWindow {
  Q_OBJECT
 public:
  explicit TFrmMainForm(MainFormServices services, QWidget* parent = nullptr);
  ~TFrmMainForm() override;

  // Hand over the windows created after this one, before it is shown.
  // The option selectors exist once the Options dialog is attached.
  void AttachOptionsDialog(OptionsDialog& frmOption);
  void AttachInitFileForm(TFrmInitFileForm& frmInitFile);
  // The progress window with the conversion job behind the Convert button.
  void AttachConversion(ConversionUnit& conversion);

  MainWindowWidgets& Widgets() { return *widgets_; }
  OptionControls& Options() { return *options_; }
  // The window as the conversion disables and enables it.
  IControl& WindowControl() { return windowControl_; }

  // The platform pickers and dialogs; tests replace them.
  OpenFilesDialog dlgOpenSourceFile;
  FolderPicker pickOutputFolder;
  std::function<void()> showFileReadError;
  // Ends the program once the window has closed.
  std::function<void()> endProcess;

  // Handlers.
  void FormShow();
  void btnOpenFileClick();
  void btnRemoveFileClick();
  void btnClearFileClick();
  void btnConvertClick();
  void btnSelectOutputFolderClick();  // also RzBmpButton1
  void WMDropFiles(const QStringList& paths);
  void dxTreeSourceFileInfoKeyDown(int key);
  void FormClose();

  // The trim timeline and the preview join later; the list already calls them.
  void SyncTimelineToSelection() {}
  void StopPreview() {}

  // Key preview: the key map sees every key before the focused control.
  void PreviewKey(const QKeyEvent& key) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void AddFiles(const std::vector<std::string>& paths);
  void AddChosenFiles(const std::vector<std::string>& paths);
  void StoreInitDir();
  UserSettingsControls SettingsControls();

  MainFormServices services_;
  MainWindowWidgets* widgets_;
  std::unique_ptr<OptionControls> options_;
  QtFocusKeepingControl windowControl_{this};
  TFrmInitFileForm* frmInitFile_ = nullptr;
  ConversionUnit* conversion_ = nullptr;
  bool shown_ = false;
  bool dropsAccepted_ = false;
  std::vector<std::string> lastChosenFiles_;
};

}  // namespace sonvarro
