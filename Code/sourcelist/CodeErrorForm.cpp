#include "sourcelist/CodeErrorForm.h"

#include "services/platform/Paths.h"

namespace sonvarro {

TFrmCodeErrorForm::TFrmCodeErrorForm(CodeErrorFormControls controls, platform::IDesktop& desktop)
    : controls_(controls), desktop_(desktop) {}

CodeErrorFormEvents TFrmCodeErrorForm::Events() {
  return {[this] { Label2Click(); }, [this] { btnOKClick(); }};
}

void TFrmCodeErrorForm::ShowFor(const std::string& path) {
  controls_.lblFileName.SetText(std::string(platform::FileNamePart(path)));
  controls_.fileHint.SetText(path);
  controls_.window.ShowModal();
}

void TFrmCodeErrorForm::Label2Click() { desktop_.OpenInBrowser(kCodecDownloadPage); }

void TFrmCodeErrorForm::btnOKClick() { controls_.window.Close(); }

}  // namespace sonvarro
