#pragma once

#include <cstdint>
#include <functional>

#include "player/MediaGraph.h"
#include "services/Scheduler.h"

namespace sonvarro {

// The hidden position track bar bound to a playing graph. While enabled it
// ticks every TimerInterval milliseconds: it reads the graph's duration and
// current position, sets its range to 0 .. duration in whole seconds and its
// position to the current whole second, then raises OnTimer with the current
// position and the duration in milliseconds. A tick whose reads fail does
// nothing at all. The graph starts it on Play and halts it on Pause and Stop.
class PositionTrackBar {
 public:
  using TimerHandler = std::function<void(uint32_t currentMs, uint32_t durationMs)>;
  static constexpr int kTimerInterval = 1000;

  PositionTrackBar(IScheduler& scheduler, const MediaGraph& graph);
  PositionTrackBar(const PositionTrackBar&) = delete;
  PositionTrackBar& operator=(const PositionTrackBar&) = delete;

  void Start() { timer_.Start(); }
  void Stop() { timer_.Stop(); }
  bool Enabled() const { return timer_.Enabled(); }
  int TimerInterval() const { return timer_.Interval(); }

  int Min() const { return 0; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  // Kept within Min .. Max, as a track bar keeps its thumb.
  void SetPosition(int position);

  TimerHandler OnTimer;

 private:
  void Tick();

  const MediaGraph& graph_;
  RepeatingTimer timer_;
  int max_ = 0;
  int position_ = 0;
};

}  // namespace sonvarro
