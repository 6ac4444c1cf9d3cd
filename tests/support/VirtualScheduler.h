#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

#include "services/Scheduler.h"

namespace sonvarro::test {

// Runs timers in virtual time: nothing happens until the test advances it.
class VirtualScheduler : public IScheduler {
 public:
  TimerId After(int delayMs, Task task) override;
  void Cancel(TimerId id) override;
  void Post(Task task) override;

  // Runs posted tasks, then every timer due within ms, in time order.
  void AdvanceBy(int64_t ms);
  // Runs posted tasks and timers due now.
  void RunPending();
  int64_t Now() const { return now_; }
  size_t PendingTimers() const { return timers_.size(); }

 private:
  bool RunPosted();

  int64_t now_ = 0;
  TimerId nextId_ = 1;
  // Keyed by (due time, id): equal due times run in the order they were set.
  std::map<std::pair<int64_t, TimerId>, Task> timers_;
  std::mutex postedMutex_;
  std::deque<Task> posted_;
};

}  // namespace sonvarro::test
