#include "services/AppFunc.h"

#include <cstdio>
#include <ctime>
#include <exception>
#include <utility>

#include "services/platform/DataFolder.h"
#include "services/platform/ExecutableFolder.h"
#include "services/platform/FileContent.h"
#include "services/platform/LocalTime.h"
#include "services/platform/Paths.h"

namespace sonvarro {
namespace {

constexpr const char* kLogFileName = "log.txt";
constexpr const char* kLogLinePrefix = "Quorvane Soft ";

// The time in the given strftime form; the locale comes from the process's
// LC_TIME.
std::string FormattedTime(const std::tm& now, const char* format) {
  char buffer[128];
  const size_t length = std::strftime(buffer, sizeof buffer, format, &now);
  return std::string(buffer, length);
}

}  // namespace

TAppFunc::TAppFunc() : TAppFunc(platform::DataFolder(platform::ExecutableFolder())) {}

TAppFunc::TAppFunc(std::string dataFolder) : dataFolder_(platform::WithTrailingSeparator(std::move(dataFolder))) {}

std::string TAppFunc::GetDataPath() const { return dataFolder_; }

bool TAppFunc::WriteLog(const std::string& message) const noexcept {
  try {
    const std::string path = GetDataPath() + kLogFileName;
    const std::tm now = platform::LocalTimeNow();
    const std::string line =
        kLogLinePrefix + FormattedTime(now, "%x") + " " + FormattedTime(now, "%X") + "|" + message + "\r\n";
    const platform::Status written = platform::AppendToFile(path, line);
    if (written) {
      lossReported_ = false;
      return true;
    }
    if (!lossReported_.exchange(true))
      std::fprintf(stderr, "Cannot write %s (%s): log lines are lost.\n", path.c_str(), written.Message().c_str());
  } catch (const std::exception&) {
    // No memory for the line: it is lost like an unwritable one.
  }
  return false;
}

}  // namespace sonvarro
