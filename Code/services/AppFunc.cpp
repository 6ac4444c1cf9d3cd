#include "services/AppFunc.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <utility>

#include "services/platform/DataFolder.h"
#include "services/platform/ExecutableFolder.h"
#include "services/platform/Paths.h"

namespace sonvarro {
namespace {

constexpr const char* kLogFileName = "log.txt";
constexpr const char* kLogLinePrefix = "Quorvane Soft ";

// The clock's current local time in the given strftime form; the locale
// comes from the process's LC_TIME.
std::string LocalNow(const std::tm& now, const char* format) {
  char buffer[128];
  const size_t length = std::strftime(buffer, sizeof buffer, format, &now);
  return std::string(buffer, length);
}

// Appends line to the file at path; the system's error number on failure.
int AppendLine(const std::string& path, const std::string& line) {
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  size_t written = 0;
  while (written < line.size()) {
    const ssize_t n = write(fd, line.data() + written, line.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      close(fd);
      return error;
    }
    written += static_cast<size_t>(n);
  }
  return close(fd) != 0 ? errno : 0;
}

}  // namespace

TAppFunc::TAppFunc() : TAppFunc(platform::DataFolder(platform::ExecutableFolder())) {}

TAppFunc::TAppFunc(std::string dataFolder) : dataFolder_(platform::WithTrailingSeparator(std::move(dataFolder))) {}

std::string TAppFunc::GetDataPath() const { return dataFolder_; }

bool TAppFunc::WriteLog(const std::string& message) const noexcept {
  try {
    const std::string path = GetDataPath() + kLogFileName;
    const std::time_t clock = std::time(nullptr);
    std::tm now{};
    localtime_r(&clock, &now);
    const std::string line = kLogLinePrefix + LocalNow(now, "%x") + " " + LocalNow(now, "%X") + "|" + message + "\r\n";
    const int error = AppendLine(path, line);
    if (error == 0) {
      lossReported_ = false;
      return true;
    }
    if (!lossReported_.exchange(true))
      std::fprintf(stderr, "Cannot write %s (%s): log lines are lost.\n", path.c_str(), std::strerror(error));
  } catch (const std::exception&) {
    // No memory for the line: it is lost like an unwritable one.
  }
  return false;
}

}  // namespace sonvarro
