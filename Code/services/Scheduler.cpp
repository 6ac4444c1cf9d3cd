#include "services/Scheduler.h"

#include <utility>

namespace sonvarro {

RepeatingTimer::RepeatingTimer(IScheduler& scheduler, int intervalMs, IScheduler::Task onTick)
    : scheduler_(scheduler), intervalMs_(intervalMs), onTick_(std::move(onTick)) {}

RepeatingTimer::~RepeatingTimer() { Stop(); }

void RepeatingTimer::Start() {
  if (!Enabled()) Arm();
}

void RepeatingTimer::Stop() {
  if (pending_ != 0) scheduler_.Cancel(pending_);
  pending_ = 0;
}

void RepeatingTimer::Arm() {
  pending_ = scheduler_.After(intervalMs_, [this] {
    // Re-arm before the tick so a handler that stops the timer wins.
    pending_ = 0;
    Arm();
    onTick_();
  });
}

}  // namespace sonvarro
