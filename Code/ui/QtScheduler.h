#pragma once

#include <QObject>
#include <QTimer>
#include <map>

#include "services/Scheduler.h"

namespace sonvarro {

// IScheduler on the Qt event loop of the thread that creates it (the
// user-interface thread).
class QtScheduler final : public QObject, public IScheduler {
 public:
  explicit QtScheduler(QObject* parent = nullptr);
  ~QtScheduler() override;

  TimerId After(int delayMs, Task task) override;
  void Cancel(TimerId id) override;
  void Post(Task task) override;

 private:
  TimerId nextId_ = 1;
  std::map<TimerId, QTimer*> timers_;
};

}  // namespace sonvarro
