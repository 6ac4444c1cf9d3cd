#pragma once

// Bringing the application up: the splash with the start-up routine inside
// it, the companion library check, the product strings and the version, and
// the caption they make.

#include <functional>
#include <memory>
#include <string>

#include "services/Scheduler.h"
#include "services/platform/Desktop.h"
#include "shell/FlashForm.h"
#include "shell/RecSoftInfo.h"

namespace sonvarro {

inline constexpr const char* kResLibrary = "Res.dll";
inline constexpr const char* kFormLibrary = "Form.dll";
inline constexpr const char* kLibLibrary = "Lib.dll";
// The splash picture in Res.dll.
inline constexpr const char* kSplashResourceName = "ImgFlash";
inline constexpr const char* kSplashResourceType = "jpeg";
// The same picture at twice the pixels, for screens of 150 % and more; a
// Res.dll without it shows the first one there too.
inline constexpr const char* kSharpSplashResourceName = "ImgFlash@2x";
// The exit status of a program that could not start.
inline constexpr int kFailedStartExitCode = 1;

// A message box owned by the application, captioned with the application
// title, with the information icon and the buttons of kind: 1 OK, 2 Yes and
// No, 3 Yes, No and Cancel. The user's answer; another kind shows nothing.
platform::MessageAnswer ShowAppMessage(platform::IDesktop& desktop, const std::string& text, int kind);

// What start-up works with.
struct StartUpParts {
  std::string appFolder;  // where the companion libraries lie, ending in "/"
  std::string exePath;    // the program whose version the caption shows
  IScheduler& scheduler;
  platform::IDesktop& desktop;  // the messages of a failed start
  std::function<std::unique_ptr<ISplashWindow>()> newSplashWindow;
  // Sets the main window's caption and its title label.
  std::function<void(const std::string& caption)> setCaption;
  // Asks the application to end with kFailedStartExitCode once control is
  // back in its event loop; what runs meanwhile runs to its end.
  std::function<void()> terminate;
};

// Start-up as the main window's first show runs it; the product information
// record it fills lives as long as this object.
class StartUp {
 public:
  explicit StartUp(StartUpParts parts);

  // Shows the splash picture from Res.dll with the start-up routine running
  // inside it, and returns when the splash has closed. False when the start
  // failed: the picture could not be loaded (a message says what is missing,
  // the routine never ran) or the routine itself threw. Termination is
  // requested then; the caller must go no further.
  bool ShowSplash();

  // The start-up routine: the companion library check, the product strings,
  // the application folder and the caption.
  void InitApplication();

  // Looks for Form.dll, Lib.dll and Res.dll, in this order, in the
  // application folder. Each one missing is told in a message of its own and
  // requests termination; the check goes on with the next name. True when
  // all are there.
  bool CheckCompanionLibraries();

  // Reads strings 0, 1, 2, 4, 5 and 7 of Res.dll into the record (string 3 is
  // read and dropped) and the program's version. A string that is missing,
  // or a Res.dll that cannot be loaded, leaves its field empty.
  void LoadProductInfo();

  const RecSoftInfo& SoftInfo() const { return softInfo_; }
  // Start-up found the program unable to go on, also where the splash
  // itself still ran to its end.
  bool TerminationRequested() const { return terminationRequested_; }
  // Title, one blank, version.
  std::string Caption() const;

 private:
  bool FailStart(const std::string& message);
  void RequestTermination();

  StartUpParts parts_;
  RecSoftInfo softInfo_{};
  bool terminationRequested_ = false;
};

}  // namespace sonvarro
