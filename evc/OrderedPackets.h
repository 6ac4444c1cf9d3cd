#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>

#include "Libav.h"

namespace sonvarro::evc {

// Collects the packets of chunks encoded at the same time and hands them out
// in stream order: all of chunk 0, then all of chunk 1, ... A chunk's packets
// go out in batches as they come while it is the oldest one unfinished.
class OrderedPackets {
 public:
  void Add(int64_t chunk, PacketPtr packet);
  void Complete(int64_t chunk);
  // Known once the stream has ended.
  void SetChunkCount(int64_t count);
  // Next() returns null from now on.
  void Cancel();

  // The next packet in order; null at the end, or when cancelled.
  PacketPtr Next();
  bool Cancelled();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<int64_t, std::deque<PacketPtr>> waiting_;
  std::map<int64_t, bool> completed_;
  int64_t current_ = 0;
  std::optional<int64_t> count_;
  bool cancelled_ = false;
};

}  // namespace sonvarro::evc
