#include "sourcelist/CodeErrorForm.h"

#include "services/platform/Paths.h"

namespace sonvarro {

TCodeErrorForm::TCodeErrorForm(CodeErrorFormControls controls, platform::IDesktop& desktop)
    : controls_(controls), desktop_(desktop) {}

CodeErrorFormEvents TCodeErrorForm::Events() {
  return {[this] { Label2Click(); }, [this] { btnOKClick(); }};
}

void TCodeErrorForm::ShowFor(const std::string& path) {
  controls_.lblFileName.SetText(std::string(platform::FileNamePart(path)));
  controls_.fileHint.SetText(path);
  controls_.window.ShowModal();
}

void TCodeErrorForm::Label2Click() { desktop_.OpenInBrowser(kCodecDownloadPage); }

void TCodeErrorForm::btnOKClick() { controls_.window.Close(); }

}  // namespace sonvarro
