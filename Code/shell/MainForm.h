#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <exception>
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
class TFrmMainForm final : public QWidget {
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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void AddFiles(const std::vector<std::string>& paths);
  void AddChosenFiles(const std::vector<std::string>& paths);
  void StoreInitDir();
  void RunMappedKey(int key, Qt::KeyboardModifiers modifiers);
  // Shows an unexpected error's message, as the event loop's last resort.
  void ReportError(const std::exception& error);
  UserSettingsControls SettingsControls();

  MainFormServices services_;
  MainWindowWidgets* widgets_;
  std::unique_ptr<OptionControls> options_;
  QtControl windowControl_{this};
  TFrmInitFileForm* frmInitFile_ = nullptr;
  ConversionUnit* conversion_ = nullptr;
  bool shown_ = false;
  bool dropsAccepted_ = false;
  std::vector<std::string> lastChosenFiles_;
  // Key preview: the key event being delivered, and where its delivery began.
  const QEvent* previewedKey_ = nullptr;
  QPointer<QObject> previewedReceiver_;
};

}  // namespace sonvarro
