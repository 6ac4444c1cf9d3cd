#include "shell/PreviewPlayback.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

#include "services/platform/Desktop.h"
#include "sourcerows/SourceRows.h"

namespace sonvarro {
namespace {

constexpr int64_t kUnitsPerSecond = 10'000'000;
// After playback starts, before the seek to the trim start: the player gets
// going and what the user did meanwhile (a stop, say) runs first.
constexpr auto kSettleAfterPlay = std::chrono::milliseconds(10);

// A row's trim range in whole seconds. The end is open when the End Time
// does not read as a time or reaches the row's Duration: the end of the file
// stops the preview then.
struct RowRange {
  int64_t start = 0;
  std::optional<int64_t> end;
};

RowRange RangeOf(const ISourceGrid& grid, int row) {
  if (row < 0) return {};
  RowRange range{ReadTimeText(grid.Cell(row, kColStartTime)).value_or(0), ReadTimeText(grid.Cell(row, kColEndTime))};
  const std::optional<int64_t> duration = ReadTimeText(grid.Cell(row, kColDuration));
  if (range.end && duration && *range.end >= *duration) range.end.reset();
  return range;
}

}  // namespace

std::string PositionText(int64_t position) {
  const long long seconds = position / kUnitsPerSecond;
  char text[64];
  std::snprintf(text, sizeof text, "%2.2lld:%2.2lld:%2.2lld", seconds / 3600, seconds % 3600 / 60, seconds % 3600 % 60);
  return text;
}

PreviewPlayback::PreviewPlayback(PreviewControls controls, PreviewParts parts)
    : controls_(controls), parts_(std::move(parts)) {
  parts_.dstrckbrMainform.OnTimer = [this](uint32_t currentMs, uint32_t durationMs) {
    dstrckbrMainformTimer(currentMs, durationMs);
  };
}

std::string PreviewPlayback::PlayPreview() {
  if (!parts_.FilterGraph.Active()) return {};
  try {
    parts_.FilterGraph.Play();
    parts_.proc.IsPlaying = true;
    controls_.panLogo.SetVisible(false);
    return kWordPlaying;
  } catch (const std::exception&) {
    controls_.panLogo.SetVisible(true);
    return kWordStopped;
  }
}

std::string PreviewPlayback::PausePreview() {
  if (!parts_.FilterGraph.Active()) return {};
  try {
    parts_.FilterGraph.Pause();
    parts_.proc.IsPlaying = false;
    controls_.panLogo.SetVisible(false);
    return kWordPaused;
  } catch (const std::exception&) {
    controls_.panLogo.SetVisible(true);
    return kWordStopped;
  }
}

std::string PreviewPlayback::StopPreview() {
  MediaGraph& graph = parts_.FilterGraph;
  if (!graph.Active()) return {};
  try {
    graph.Stop();
    graph.SetActive(false);
    graph.Clear();
    parts_.common.LoadedFile.clear();
    controls_.pnlCurTime.SetText(PositionText(0));
    parts_.proc.IsPlaying = false;
    controls_.panLogo.SetVisible(true);
    parts_.dstrckbrMainform.SetPosition(0);
    controls_.pbPlayState.SetPosition(0);
  } catch (const std::exception&) {
    controls_.panLogo.SetVisible(true);
    controls_.pbPlayState.SetPosition(0);
  }
  return kWordStopped;
}

std::string PreviewPlayback::LoadAndPlayPreview(const std::string& path) {
  MediaGraph& graph = parts_.FilterGraph;
  try {
    graph.SetActive(false);
    graph.Clear();
    if (graph.Active()) return {};
    graph.SetActive(true);

    bool opened = false;
    try {
      opened = graph.Render(path) == 0;
      parts_.common.LoadedFile = path;
    } catch (const std::exception&) {
      parts_.common.LoadedFile.clear();
    }
    if (!opened) {
      // A file that plays only in part is no preview of it: nothing plays.
      parts_.appFunc.WriteLog(kPlayingVideoError);
      graph.Clear();
      return kWordStopped;
    }

    try {
      PausePreview();
      PlayPreview();
      std::this_thread::sleep_for(kSettleAfterPlay);
      parts_.desktop.ProcessPendingEvents();
      // A stop clicked meanwhile released the file: nothing plays, whether
      // or not a seek would have failed on it.
      if (!graph.Active()) throw MediaGraphError("stopped while starting");
      // The row's own start, however it was set. A start at or beyond the
      // file's end would leave nothing to see: the file plays from its
      // beginning then.
      const int64_t startMs = RangeOf(parts_.dxTreeSourceFileInfo, RowOf(path)).start * 1000;
      if (startMs > 0 && startMs < graph.DurationMs()) graph.SeekTo(startMs);
      parts_.proc.IsPlaying = true;
      controls_.panLogo.SetVisible(false);
      return kWordPlaying;
    } catch (const std::exception&) {
      controls_.panLogo.SetVisible(true);
      return {};
    }
  } catch (const std::exception&) {
    return {};
  }
}

int PreviewPlayback::RowOf(const std::string& path) const {
  const ISourceGrid& grid = parts_.dxTreeSourceFileInfo;
  int found = -1;
  for (int row = 0; row < grid.RowCount(); ++row) {
    if (grid.Cell(row, kColFileName) != path) continue;
    if (grid.IsSelected(row)) return row;
    if (found < 0) found = row;
  }
  return found;
}

void PreviewPlayback::btnPlayClick() {
  if (!parts_.common.LoadedFile.empty()) {
    if (!parts_.proc.IsPlaying) PlayPreview();
    return;
  }
  ISourceGrid& grid = parts_.dxTreeSourceFileInfo;
  for (int row = 0; row < grid.RowCount(); ++row) {
    if (grid.IsSelected(row)) LoadAndPlayPreview(grid.Cell(row, kColFileName));
  }
}

void PreviewPlayback::btnPauseClick() {
  if (!parts_.common.LoadedFile.empty() && parts_.proc.IsPlaying) PausePreview();
}

void PreviewPlayback::btnStopClick() { StopPreview(); }

void PreviewPlayback::dstrckbrMainformTimer(uint32_t currentMs, uint32_t durationMs) {
  const PositionTrackBar& bar = parts_.dstrckbrMainform;
  IProgressBar& mirror = controls_.pbPlayState;
  mirror.SetMaximum(bar.Max());
  mirror.SetMinimum(bar.Min());
  mirror.SetPosition(bar.Position());

  MediaGraph& graph = parts_.FilterGraph;
  const auto seekTo = [&graph](int64_t ms) {
    try {
      graph.SeekTo(ms);
    } catch (const std::exception&) {
      // The pause or stop that follows matters more than where it holds.
    }
  };
  std::optional<int64_t> shownSeconds;
  try {
    const int64_t position = graph.CurrentPosition();
    controls_.pnlCurTime.SetText(PositionText(position));
    shownSeconds = position / kUnitsPerSecond;
  } catch (const std::exception&) {
    // The file went between the tick's reads and this one: the display stays.
  }
  // The range of the row whose file plays, read at every tick so that a
  // handle moved meanwhile counts; a tick that came late still pauses once
  // the mark has passed.
  const RowRange range = RangeOf(parts_.dxTreeSourceFileInfo, RowOf(parts_.common.LoadedFile));
  if (shownSeconds && range.end && *range.end > range.start && int64_t{*range.end} * 1000 < int64_t{durationMs} &&
      *shownSeconds >= *range.end) {
    seekTo(range.start * 1000);
    PausePreview();
  }
  if (currentMs >= durationMs) {
    seekTo(0);
    StopPreview();
  }
}

}  // namespace sonvarro
