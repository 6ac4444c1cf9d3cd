#include "VirtualScheduler.h"

#include "services/LastResort.h"

namespace sonvarro::test {

IScheduler::TimerId VirtualScheduler::After(int delayMs, Task task) {
  TimerId id = nextId_++;
  timers_.emplace(std::make_pair(now_ + (delayMs < 0 ? 0 : delayMs), id), std::move(task));
  return id;
}

void VirtualScheduler::Cancel(TimerId id) {
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->first.second == id) {
      timers_.erase(it);
      return;
    }
  }
}

void VirtualScheduler::Post(Task task) {
  std::lock_guard<std::mutex> lock(postedMutex_);
  posted_.push_back(std::move(task));
}

bool VirtualScheduler::RunPosted() {
  bool ran = false;
  for (;;) {
    Task task;
    {
      std::lock_guard<std::mutex> lock(postedMutex_);
      if (posted_.empty()) return ran;
      task = std::move(posted_.front());
      posted_.pop_front();
    }
    RunGuarded(task);
    ran = true;
  }
}

void VirtualScheduler::AdvanceBy(int64_t ms) {
  const int64_t end = now_ + ms;
  for (;;) {
    RunPosted();
    if (timers_.empty() || timers_.begin()->first.first > end) break;
    auto it = timers_.begin();
    if (now_ < it->first.first) now_ = it->first.first;
    Task task = std::move(it->second);
    timers_.erase(it);
    RunGuarded(task);
  }
  // A task may have advanced time itself (a nested wait): time never goes back.
  if (now_ < end) now_ = end;
}

void VirtualScheduler::RunPending() { AdvanceBy(0); }

}  // namespace sonvarro::test
