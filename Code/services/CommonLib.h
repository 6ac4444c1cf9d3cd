#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "services/AppFunc.h"
#include "services/ConvertParameters.h"
#include "services/platform/Desktop.h"
#include "services/platform/Processes.h"

namespace sonvarro {

// The shared service object. The operations here are the system services;
// the other operations of the class live in the files of their modules.
class TCommonLib {
 public:
  // A privilege token (Windows: an access token handle). This platform has
  // none, so its value is never looked at.
  using PrivilegeToken = std::intptr_t;

  // `appFolder` is the application folder; `appFunc` receives the log lines
  // and `desktop` the power-off, the folders shown and the message boxes;
  // both must outlive this object.
  TCommonLib(std::string appFolder, TAppFunc& appFunc, platform::IDesktop& desktop);

  // Folder of the running program, ending in "/".
  std::string AppFolder;

  // The pieces of the encoder command line of the item built last.
  TConvertParameterStruct Params;

  // The path of the file open in the preview; empty when none.
  std::string LoadedFile;

  // TSysFunc::FindProcessId, but logs "Get Process id error." when none runs.
  ProcessId GetProcessIdByName(std::string_view exeName);

  // Kills (SIGKILL) every process this program started whose program file
  // name matches `exeName` (letters a-z without regard to case). True when
  // the last kill attempted succeeded; otherwise logs "Terminate process
  // error." and returns false.
  bool KillProcess(std::string_view exeName);

  // Privileges are a Windows notion: there is nothing to enable here, so these
  // succeed without doing anything.
  bool SetPrivilege(PrivilegeToken token, const std::string& privilegeName, bool enable);
  bool EnableDebugPrivilege();
  void EnableShutdownPrivilege();

  // Asks the system to power off and returns without waiting; a refusal goes
  // unreported.
  void ShutdownComputer();

  // Shows `folder` in the desktop's file manager, without waiting.
  void OpenInExplorer(const std::string& folder);

  // Hands freed heap memory back to the system when enough has been freed
  // since the last time (cheap otherwise), then lets the user interface
  // handle what is waiting.
  void ClearMemory();

  // A message box with the application title as caption, `text`, one OK
  // button and the icon of `kind`: 0 error, 1 warning, 2 question,
  // 3 information. Any other kind shows nothing and returns false; otherwise
  // true when the box returned an answer.
  bool ShowMessageBox(const std::string& text, int kind);
  // The same, but with closeAfterMs above 0 a box nobody has answered by
  // then closes itself (and gives false), so the caller goes on.
  bool ShowMessageBox(const std::string& text, int kind, int closeAfterMs);

 private:
  TAppFunc& appFunc_;
  platform::IDesktop& desktop_;
};

}  // namespace sonvarro
