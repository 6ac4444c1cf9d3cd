#include "ui/QtScheduler.h"

#include <QMetaObject>
#include <utility>

#include "services/LastResort.h"

namespace sonvarro {

QtScheduler::QtScheduler(QObject* parent) : QObject(parent) {}

QtScheduler::~QtScheduler() {
  for (auto& [id, timer] : timers_) delete timer;
}

IScheduler::TimerId QtScheduler::After(int delayMs, Task task) {
  const TimerId id = nextId_++;
  auto* timer = new QTimer(this);
  timer->setSingleShot(true);
  timer->setTimerType(Qt::PreciseTimer);
  connect(timer, &QTimer::timeout, this, [this, id, task = std::move(task)] {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    it->second->deleteLater();
    timers_.erase(it);
    RunGuarded(task);
  });
  timers_.emplace(id, timer);
  timer->start(delayMs < 0 ? 0 : delayMs);
  return id;
}

void QtScheduler::Cancel(TimerId id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second->stop();
  it->second->deleteLater();
  timers_.erase(it);
}

void QtScheduler::Post(Task task) {
  // A queued call runs on this object's thread when its loop next turns; the
  // caller (the runner thread, say) never waits for it.
  QMetaObject::invokeMethod(
      this, [task = std::move(task)] { RunGuarded(task); }, Qt::QueuedConnection);
}

}  // namespace sonvarro
