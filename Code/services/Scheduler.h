#pragma once

#include <functional>

namespace sonvarro {

// Timers and posting to the user-interface thread. The program runs it on the
// Qt event loop; tests run it in virtual time. Every task runs under the
// last-resort handler (RunGuarded): an error that escapes a task is shown and
// the loop goes on.
class IScheduler {
 public:
  using Task = std::function<void()>;
  using TimerId = int;

  virtual ~IScheduler() = default;
  // Runs task once on the user-interface thread after delayMs milliseconds.
  // Ids are never 0.
  virtual TimerId After(int delayMs, Task task) = 0;
  // Cancels a pending After; unknown or finished ids are ignored.
  virtual void Cancel(TimerId id) = 0;
  // Thread-safe: queues task for the user-interface thread without waiting.
  virtual void Post(Task task) = 0;
};

// A timer that ticks every interval until stopped, built on IScheduler.
class RepeatingTimer {
 public:
  RepeatingTimer(IScheduler& scheduler, int intervalMs, IScheduler::Task onTick);
  ~RepeatingTimer();
  RepeatingTimer(const RepeatingTimer&) = delete;
  RepeatingTimer& operator=(const RepeatingTimer&) = delete;

  void Start();
  void Stop();
  bool Enabled() const { return pending_ != 0; }
  int Interval() const { return intervalMs_; }

 private:
  void Arm();

  IScheduler& scheduler_;
  int intervalMs_;
  IScheduler::Task onTick_;
  IScheduler::TimerId pending_ = 0;
};

}  // namespace sonvarro
