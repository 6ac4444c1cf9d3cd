#pragma once

#include <string_view>

#include "services/CommonLib.h"

namespace sonvarro {

// Finding and ending running programs by their file name, as the job and its
// stop handlers need it.
class IEncoderProcesses {
 public:
  virtual ~IEncoderProcesses() = default;
  // 0 when none runs; silent.
  virtual ProcessId FindProcessId(std::string_view exeName) = 0;
  // 0 when none runs, then logs "Get Process id error.".
  virtual ProcessId GetProcessIdByName(std::string_view exeName) = 0;
  // Ends every process of that name; false (and a log line) when none ended.
  virtual bool KillProcess(std::string_view exeName) = 0;
};

// The machine's processes, through the system services.
class SystemEncoderProcesses final : public IEncoderProcesses {
 public:
  explicit SystemEncoderProcesses(TCommonLib& lib) : lib_(lib) {}
  ProcessId FindProcessId(std::string_view exeName) override;
  ProcessId GetProcessIdByName(std::string_view exeName) override { return lib_.GetProcessIdByName(exeName); }
  bool KillProcess(std::string_view exeName) override { return lib_.KillProcess(exeName); }

 private:
  TCommonLib& lib_;
};

}  // namespace sonvarro
