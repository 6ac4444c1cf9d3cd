#pragma once

#include <functional>
#include <string>

#include "controls/Controls.h"
#include "services/platform/Desktop.h"

namespace sonvarro {

// The codec download page on the product's web site.
inline constexpr const char* kCodecDownloadPage = "https://www.quorvanesoft.example/downloadcode.htm";

inline constexpr const char* kFileReadErrorText =
    "Files reading error! Please check your files or install a new codec.You can click the link to download "
    "the lastest codec.";

// "Error Info"'s controls.
struct CodeErrorFormControls {
  IModalWindow& window;
  ITextField& lblFileName;  // the file's name alone
  ITextField& fileHint;     // its full path, shown on pointing at the name
};

// What "Error Info" reports to its behaviour.
struct CodeErrorFormEvents {
  std::function<void()> Label2Click;  // the codec download link
  std::function<void()> btnOKClick;
};

// "Error Info"'s behaviour (`TFrmCodeErrorForm`): tells the user that a file
// could not be read and points to the codec download. Shown modally, once
// for each unreadable file, so that each names its own file.
class TFrmCodeErrorForm {
 public:
  TFrmCodeErrorForm(CodeErrorFormControls controls, platform::IDesktop& desktop);

  // The handlers the window's skin raises.
  CodeErrorFormEvents Events();

  // Names the file at path and shows the window; returns once it has closed.
  void ShowFor(const std::string& path);

  void Label2Click();
  void btnOKClick();

 private:
  CodeErrorFormControls controls_;
  platform::IDesktop& desktop_;
};

}  // namespace sonvarro
