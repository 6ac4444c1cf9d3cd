#pragma once

// What a window test needs for the program's root: the companion libraries
// in its application folder, the root's seams, and modal windows that wait
// in virtual time.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ScriptedDialogs.h"
#include "VirtualScheduler.h"
#include "app/AppRoot.h"
#include "ui/FlashWindow.h"

namespace sonvarro::test {

// The job's pauses shortened for window tests; the job is otherwise the
// program's own.
inline const ConversionTimings kShortJobPauses{100, 300, 50};

// Copies Res.dll, Form.dll and Lib.dll of the built application folder.
inline void CopyCompanionLibraries(const std::string& toFolder) {
  const std::filesystem::path built = std::getenv("SONVARRO_APP_DIR");
  for (const char* name : {"Res.dll", "Form.dll", "Lib.dll"}) {
    std::filesystem::copy_file(built / name, std::filesystem::path(toFolder) / name,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

// An application folder the real program runs from: the encoder, the
// companion libraries and, unless the test writes its own, an empty Config/.
inline void LayOutAppFolder(const std::string& folder, bool withConfig = true) {
  const std::filesystem::path built = std::getenv("SONVARRO_APP_DIR");
  std::filesystem::copy_file(built / "evc.exe", std::filesystem::path(folder) / "evc.exe",
                             std::filesystem::copy_options::overwrite_existing);
  CopyCompanionLibraries(folder);
  if (withConfig) std::filesystem::create_directories(std::filesystem::path(folder) / "Config");
}

// A modal window's wait that lets virtual time pass until it closes.
inline ModalLoop WaitInVirtualTime(VirtualScheduler& scheduler) {
  return [&scheduler](const std::function<bool()>& stillOpen) {
    const int64_t giveUp = scheduler.Now() + 60000;
    while (stillOpen() && scheduler.Now() < giveUp) scheduler.AdvanceBy(10);
    EXPECT_FALSE(stillOpen()) << "a modal window never closed";
  };
}

// The program's root for a window test: the test's application folder, its
// desktop, its answers to the dialogs (so that no real file browser ever
// opens) and the given job pauses.
inline AppSeams TestAppSeams(const std::string& appFolder, platform::IDesktop& desktop, ScriptedDialogs& dialogs,
                             ConversionTimings timings = kShortJobPauses) {
  AppSeams seams;
  seams.appFolder = appFolder;
  seams.desktop = &desktop;
  seams.dialogs = &dialogs;
  seams.timings = timings;
  return seams;
}

// The same in virtual time, also in modal windows, with the job's own
// pauses.
inline AppSeams VirtualTimeSeams(const std::string& appFolder, VirtualScheduler& scheduler, platform::IDesktop& desktop,
                                 ScriptedDialogs& dialogs) {
  AppSeams seams = TestAppSeams(appFolder, desktop, dialogs, {});
  seams.scheduler = &scheduler;
  seams.modalLoop = WaitInVirtualTime(scheduler);
  return seams;
}

}  // namespace sonvarro::test
