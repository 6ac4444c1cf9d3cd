#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace sonvarro::evc {

// Hands items from one thread to another. A full queue holds the producer
// back, which keeps memory flat however fast decoding runs ahead. A held
// producer is woken only once the queue has drained to half, a waiting
// consumer only once it is half full (or the item pushed asks for it): waking
// either for every item costs a context switch per item.
template <typename T>
class BoundedQueue {
 public:
  explicit BoundedQueue(size_t capacity) : capacity_(capacity) {}

  // False when the consumer has given up; the item is dropped. `wakeConsumer`:
  // the consumer must not wait for more before it sees this item.
  bool Push(T item, bool wakeConsumer = false) {
    std::unique_lock<std::mutex> lock(mutex_);
    notFull_.wait(lock, [&] { return items_.size() < capacity_ || cancelled_; });
    if (cancelled_) return false;
    items_.push_back(std::move(item));
    if (wakeConsumer || items_.size() >= (capacity_ + 1) / 2) notEmpty_.notify_one();
    return true;
  }

  // Nothing more will come; Pop returns the rest, then nothing.
  void Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    notEmpty_.notify_all();
  }

  // The consumer stops: pending and later pushes fail at once.
  void Cancel() {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
    items_.clear();
    notFull_.notify_all();
    notEmpty_.notify_all();
  }

  // The next item; nothing once the queue is closed and empty, or cancelled.
  std::optional<T> Pop() {
    std::unique_lock<std::mutex> lock(mutex_);
    notEmpty_.wait(lock, [&] { return !items_.empty() || closed_ || cancelled_; });
    if (items_.empty() || cancelled_) return std::nullopt;
    T item = std::move(items_.front());
    items_.pop_front();
    if (items_.size() <= capacity_ / 2) notFull_.notify_one();
    return item;
  }

 private:
  const size_t capacity_;
  std::mutex mutex_;
  std::condition_variable notFull_;
  std::condition_variable notEmpty_;
  std::deque<T> items_;
  bool closed_ = false;
  bool cancelled_ = false;
};

}  // namespace sonvarro::evc
