#include "services/LastResort.h"

#include <cstdio>

#include "services/ApplicationTitle.h"
#include "services/platform/Desktop.h"

namespace sonvarro {
namespace {

platform::IDesktop* reporter = nullptr;

void Report(const char* message) noexcept {
  try {
    (reporter ? *reporter : platform::SystemDesktop())
        .ShowMessage(kApplicationTitle, message, platform::MessageIcon::Error, platform::MessageButtons::Ok);
  } catch (...) {
    // Not even a message box: the console is all that is left.
    std::fprintf(stderr, "%s: %s\n", kApplicationTitle, message);
  }
}

}  // namespace

platform::IDesktop* InstallLastResortDesktop(platform::IDesktop* desktop) noexcept {
  platform::IDesktop* previous = reporter;
  reporter = desktop;
  return previous;
}

void ReportUnhandledError(const std::exception& error) noexcept { Report(error.what()); }

void RunGuarded(const std::function<void()>& work) noexcept {
  try {
    work();
  } catch (const std::exception& error) {
    ReportUnhandledError(error);
  } catch (...) {
    Report("An unexpected error occurred.");
  }
}

}  // namespace sonvarro
