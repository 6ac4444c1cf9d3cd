#include "services/CommonLib.h"

#include <utility>

#include "services/ApplicationTitle.h"
#include "services/SysFunc.h"
#include "services/platform/Desktop.h"
#include "services/platform/Memory.h"
#include "services/platform/Paths.h"

namespace sonvarro {

TCommonLib::TCommonLib(std::string appFolder, TAppFunc& appFunc, platform::IDesktop& desktop)
    : AppFolder(platform::WithTrailingSeparator(std::move(appFolder))), appFunc_(appFunc), desktop_(desktop) {}

ProcessId TCommonLib::GetProcessIdByName(std::string_view exeName) {
  const ProcessId id = TSysFunc::FindProcessId(exeName);
  if (id == 0) appFunc_.WriteLog("Get Process id error.");
  return id;
}

bool TCommonLib::KillProcess(std::string_view exeName) {
  EnableDebugPrivilege();
  bool lastSucceeded = false;
  platform::ForEachChildProcess([&](const platform::ProcessEntry& entry) {
    if (TSysFunc::IsNamed(entry, exeName)) lastSucceeded = platform::TerminateProcess(entry.id).Ok();
  });
  if (lastSucceeded) return true;
  appFunc_.WriteLog("Terminate process error.");
  return false;
}

bool TCommonLib::SetPrivilege(PrivilegeToken, const std::string&, bool) { return true; }

bool TCommonLib::EnableDebugPrivilege() { return SetPrivilege(0, "SeDebugPrivilege", true); }

void TCommonLib::EnableShutdownPrivilege() { SetPrivilege(0, "SeShutdownPrivilege", true); }

void TCommonLib::ShutdownComputer() {
  EnableShutdownPrivilege();
  desktop_.PowerOff();
}

void TCommonLib::OpenInExplorer(const std::string& folder) { desktop_.OpenFolder(folder); }

void TCommonLib::ClearMemory() {
  platform::TrimFreedHeap();
  desktop_.ProcessPendingEvents();
}

bool TCommonLib::ShowMessageBox(const std::string& text, int kind) { return ShowMessageBox(text, kind, 0); }

bool TCommonLib::ShowMessageBox(const std::string& text, int kind, int closeAfterMs) {
  static constexpr platform::MessageIcon kIcons[] = {platform::MessageIcon::Error, platform::MessageIcon::Warning,
                                                     platform::MessageIcon::Question,
                                                     platform::MessageIcon::Information};
  if (kind < 0 || kind > 3) return false;
  const platform::MessageAnswer answer =
      closeAfterMs > 0 ? desktop_.ShowMessageClosingAfter(kApplicationTitle, text, kIcons[kind],
                                                          platform::MessageButtons::Ok, closeAfterMs)
                       : desktop_.ShowMessage(kApplicationTitle, text, kIcons[kind], platform::MessageButtons::Ok);
  return answer != platform::MessageAnswer::None;
}

}  // namespace sonvarro
