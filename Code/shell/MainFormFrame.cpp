// The main window's frame: its own window buttons, the links, help, the
// about box and the memory timer.

#include <string>

#include "services/platform/Desktop.h"
#include "services/platform/Files.h"
#include "services/platform/Modules.h"
#include "services/platform/Paths.h"
#include "shell/MainForm.h"
#include "shell/StartUp.h"

namespace sonvarro {
namespace {

// Before start-up has filled the record every field reads empty.
const RecSoftInfo& Empty() {
  static const RecSoftInfo empty{};
  return empty;
}

}  // namespace

void TFrmMainForm::actMinimizeExecute() {
  if (minimizeWindow) minimizeWindow();
}

void TFrmMainForm::actCloseWindowExecute() {
  if (closeWindow) closeWindow();
}

void TFrmMainForm::ActSysHomePageExecute() { platform::Desktop().ShellOpen((SoftInfo ? *SoftInfo : Empty()).HomePage); }

void TFrmMainForm::ActSysEmailExecute() {
  platform::Desktop().ShellOpen(std::string("mailto:") + (SoftInfo ? *SoftInfo : Empty()).EMail);
}

void TFrmMainForm::ActSysHelpExecute() {
  const std::string appFolder = (SoftInfo ? *SoftInfo : Empty()).AppFolder;
  const std::string helpFile = appFolder + kHelpFileName;
  const std::string pages = platform::JoinPath(platform::JoinPath(appFolder, kHelpPagesFolder), kHelpPagesIndex);
  // Few Linux desktops come with a viewer for the help file; the browser
  // then shows the same pages.
  const bool showPages = !platform::Desktop().HasHandlerFor(helpFile) && platform::IsRegularFile(pages);
  platform::Desktop().ShellOpen(showPages ? pages : helpFile);
}

void TFrmMainForm::Label3Click() { platform::Desktop().OpenInBrowser(kCodecDownloadPage); }

void TFrmMainForm::ActSysAboutExecute() {
  // A missing library or export shows nothing: the about box is all it adds.
  platform::Module form(parts_.common.AppFolder + kFormLibrary);
  auto show = reinterpret_cast<ShowAboutFormProc>(platform::GetProcAddress(form.Handle(), SONVARRO_SHOW_ABOUT_FORM));
  if (show) show(ApplicationObject, SoftInfo ? *SoftInfo : Empty());
}

void TFrmMainForm::tmrClearMemoryTimer() { parts_.common.ClearMemory(); }

}  // namespace sonvarro
