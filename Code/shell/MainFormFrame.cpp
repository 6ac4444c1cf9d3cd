// The main window's frame: its own window buttons, the links, help, the
// about box and the memory timer.

#include <string>

#include "services/platform/Files.h"
#include "services/platform/Modules.h"
#include "services/platform/Paths.h"
#include "shell/MainForm.h"
#include "shell/StartUp.h"

namespace sonvarro {

// Before start-up has filled the record every field reads empty.
const RecSoftInfo& TFrmMainForm::SoftInfo() const { return parts_.startUp.SoftInfo(); }

void TFrmMainForm::actMinimizeExecute() { parts_.frame.Minimize(); }

void TFrmMainForm::actCloseWindowExecute() { parts_.frame.Close(); }

void TFrmMainForm::ActSysHomePageExecute() { parts_.desktop.ShellOpen(SoftInfo().HomePage); }

void TFrmMainForm::ActSysEmailExecute() { parts_.desktop.ShellOpen(std::string("mailto:") + SoftInfo().EMail); }

void TFrmMainForm::ActSysHelpExecute() {
  const std::string appFolder = SoftInfo().AppFolder;
  const std::string helpFile = appFolder + kHelpFileName;
  const std::string pages = platform::JoinPath(platform::JoinPath(appFolder, kHelpPagesFolder), kHelpPagesIndex);
  // Few Linux desktops come with a viewer for the help file; the browser
  // then shows the same pages.
  const bool showPages = !parts_.desktop.HasHandlerFor(helpFile) && platform::IsRegularFile(pages);
  parts_.desktop.ShellOpen(showPages ? pages : helpFile);
}

void TFrmMainForm::Label3Click() { parts_.desktop.OpenInBrowser(kCodecDownloadPage); }

void TFrmMainForm::ActSysAboutExecute() {
  // A missing library or export shows nothing: the about box is all it adds.
  platform::Module form(parts_.common.AppFolder + kFormLibrary);
  auto show = reinterpret_cast<ShowAboutFormProc>(platform::GetProcAddress(form.Handle(), SONVARRO_SHOW_ABOUT_FORM));
  if (show) show(parts_.applicationObject, SoftInfo());
}

void TFrmMainForm::tmrClearMemoryTimer() { parts_.common.ClearMemory(); }

}  // namespace sonvarro
