#pragma once

#include <atomic>
#include <string>

namespace sonvarro {

// Application services: the diagnostic log "log.txt" in the data folder
// (services/platform/DataFolder.h).
class TAppFunc {
 public:
  // Logs into the data folder of the running program.
  TAppFunc();
  // Logs into the given data folder (tests use their own temporary folder).
  explicit TAppFunc(std::string dataFolder);

  // Appends one line: "Quorvane Soft ", the locale's short date, " ", its long
  // time, "|", the message as given, CR LF. The file is opened and closed for
  // every line, so other programs may read it in between. A log that cannot
  // be written never stops what is being logged: the line is lost and false
  // returned, and the first loss (again after a line got through) is told on
  // standard error with the system's reason.
  bool WriteLog(const std::string& message) const noexcept;

  // The data folder, which holds "log.txt" and "Config/", ending in "/".
  std::string GetDataPath() const;

 private:
  std::string dataFolder_;
  mutable std::atomic<bool> lossReported_{false};
};

}  // namespace sonvarro
