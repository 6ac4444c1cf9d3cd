#include "engine/EncoderStopper.h"

#include <utility>

#include "engine/EncoderName.h"
#include "services/platform/Paths.h"

namespace sonvarro {
namespace {}  // namespace

EncoderStopper::EncoderStopper(IScheduler& scheduler, IEncoderProcesses& processes, TAppFunc& appFunc, int pauseMs,
                               int attempts)
    : scheduler_(scheduler), processes_(processes), appFunc_(appFunc), pauseMs_(pauseMs), attempts_(attempts) {}

void EncoderStopper::StopEncoderProcesses(const std::string& executablePath, std::function<void()> done) {
  StopAll(std::string(platform::FileNamePart(executablePath)), 0,
          [this, done = std::move(done)]() mutable { StopAll(kEncoderFileName, 0, std::move(done)); });
}

void EncoderStopper::StopAll(std::string name, int attempt, std::function<void()> next) {
  if (processes_.GetProcessIdByName(name) == 0) {
    if (next) next();
    return;
  }
  if (attempt == attempts_) {
    ++giveUps_;
    appFunc_.WriteLog("Stop encoder: " + name + " still runs after " + std::to_string(attempts_) +
                      " terminations; giving up.");
    if (next) next();
    return;
  }
  processes_.KillProcess(name);
  scheduler_.After(pauseMs_, [this, name = std::move(name), attempt, next = std::move(next)]() mutable {
    StopAll(std::move(name), attempt + 1, std::move(next));
  });
}

}  // namespace sonvarro
