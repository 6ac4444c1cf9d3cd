#include "OrderedPackets.h"

namespace sonvarro::evc {

namespace {
// The writer is woken once this many packets of the chunk it writes wait, not
// for each: a wake-up per packet cost a context switch per packet.
constexpr size_t kPacketsPerWakeUp = 32;
}  // namespace

void OrderedPackets::Add(int64_t chunk, PacketPtr packet) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::deque<PacketPtr>& waiting = waiting_[chunk];
  waiting.push_back(std::move(packet));
  if (chunk == current_ && waiting.size() >= kPacketsPerWakeUp) changed_.notify_one();
}

void OrderedPackets::Complete(int64_t chunk) {
  std::lock_guard<std::mutex> lock(mutex_);
  completed_[chunk] = true;
  if (chunk == current_) changed_.notify_one();
}

void OrderedPackets::SetChunkCount(int64_t count) {
  std::lock_guard<std::mutex> lock(mutex_);
  count_ = count;
  changed_.notify_one();
}

void OrderedPackets::Cancel() {
  std::lock_guard<std::mutex> lock(mutex_);
  cancelled_ = true;
  changed_.notify_all();
}

bool OrderedPackets::Cancelled() {
  std::lock_guard<std::mutex> lock(mutex_);
  return cancelled_;
}

PacketPtr OrderedPackets::Next() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (cancelled_) return nullptr;
    auto waiting = waiting_.find(current_);
    if (waiting != waiting_.end() && !waiting->second.empty()) {
      PacketPtr packet = std::move(waiting->second.front());
      waiting->second.pop_front();
      return packet;
    }
    if (completed_.count(current_)) {
      completed_.erase(current_);
      if (waiting != waiting_.end()) waiting_.erase(waiting);
      ++current_;
      continue;
    }
    if (count_ && current_ >= *count_) return nullptr;
    changed_.wait(lock);
  }
}

}  // namespace sonvarro::evc
