#include "player/PositionTrackBar.h"

#include <algorithm>

namespace sonvarro {

PositionTrackBar::PositionTrackBar(IScheduler& scheduler, const MediaGraph& graph)
    : graph_(graph), timer_(scheduler, kTimerInterval, [this] { Tick(); }) {}

void PositionTrackBar::SetPosition(int position) { position_ = std::clamp(position, Min(), std::max(Min(), max_)); }

void PositionTrackBar::Tick() {
  int64_t durationMs = 0;
  int64_t currentMs = 0;
  try {
    durationMs = graph_.DurationMs();
    currentMs = graph_.CurrentPosition() / 10000;
  } catch (const MediaGraphError&) {
    return;
  }
  max_ = static_cast<int>(std::clamp<int64_t>(durationMs / 1000, 0, INT32_MAX));
  SetPosition(static_cast<int>(std::clamp<int64_t>(currentMs / 1000, 0, INT32_MAX)));
  if (OnTimer) OnTimer(static_cast<uint32_t>(currentMs), static_cast<uint32_t>(durationMs));
}

}  // namespace sonvarro
