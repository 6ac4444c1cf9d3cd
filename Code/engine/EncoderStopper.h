#pragma once

#include <functional>
#include <string>

#include "engine/EncoderProcesses.h"
#include "services/AppFunc.h"
#include "services/Scheduler.h"

namespace sonvarro {

// Pause between a termination and the next look-up.
inline constexpr int kStopPauseMs = 100;
// Terminations tried on one program name before giving up on it.
inline constexpr int kStopAttempts = 50;

// Ends running encoders by their program name. The pauses run on the
// scheduler, so the user interface never waits for them.
class EncoderStopper {
 public:
  EncoderStopper(IScheduler& scheduler, IEncoderProcesses& processes, TAppFunc& appFunc, int pauseMs = kStopPauseMs,
                 int attempts = kStopAttempts);

  // Takes the file name of executablePath and, while a process of that name
  // runs, terminates it and pauses; then the same for "evc.exe". After
  // `attempts` terminations of one name that leave it running, logs that and
  // gives up on it. done (if any) runs when the last look-up found nothing
  // or the stopper gave up.
  void StopEncoderProcesses(const std::string& executablePath, std::function<void()> done = {});

  // How often a stop has given up since the program started.
  int GiveUps() const { return giveUps_; }

 private:
  void StopAll(std::string name, int attempt, std::function<void()> next);

  IScheduler& scheduler_;
  IEncoderProcesses& processes_;
  TAppFunc& appFunc_;
  int pauseMs_;
  int attempts_;
  int giveUps_ = 0;
};

}  // namespace sonvarro
