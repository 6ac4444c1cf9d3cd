#pragma once

#include <string>

namespace sonvarro {

// Application services: the diagnostic log "log.txt" in the application folder.
class TAppFunc {
 public:
  // Logs beside the running program.
  TAppFunc();
  // Logs into another folder (tests use their own temporary folder).
  explicit TAppFunc(std::string appFolder);

  // Appends one line: "Quorvane Soft ", the locale's short date, " ", its long
  // time, "|", the message as given, CR LF. The file is opened and closed for
  // every line, so other programs may read it in between. A failure to
  // create, open, write or close the file throws std::system_error carrying
  // the system's error number; the line is then lost.
  void WriteLog(const std::string& message) const;

  // The application folder, ending in "/".
  std::string GetAppPath() const;

 private:
  std::string appFolder_;
};

}  // namespace sonvarro
