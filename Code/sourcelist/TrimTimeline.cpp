#include "sourcelist/TrimTimeline.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <optional>

#include "services/TextFormats.h"
#include "sourcerows/SourceRows.h"

namespace sonvarro {
namespace {

// The left edge of the strip's track, where 0 % lies; the percent scale
// stretches 121 steps over the strip's width.
constexpr int kTrackOrigin = 22;
constexpr int kPercentSteps = 121;
// Outer parts narrower than this would take a handle out of the strip.
constexpr int kMinOuterWidth = 1;
constexpr int kMinRangeWidth = 1;
// Placing moves a handle only when it lies further than this from its place.
constexpr int kStartTolerance = 1;
constexpr int kEndTolerance = 2;
// The width both outer parts get when the list becomes empty.
constexpr int kEmptyListOuterWidth = 2;

// Nearest integer; halves go to the even neighbour (82.5 gives 82).
int RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction < 0.5) return static_cast<int>(floor);
  if (fraction > 0.5) return static_cast<int>(floor) + 1;
  return std::fmod(floor, 2.0) == 0.0 ? static_cast<int>(floor) : static_cast<int>(floor) + 1;
}

int MouseStep(const HeldModifiers& held) {
  if (held.ctrl && !held.shift && !held.alt) return 1;
  if (held.shift && !held.ctrl && !held.alt) return 10;
  return 5;
}

// End Time minus Start Time of the row itself; a time that does not read
// counts as 0, as for the command line.
int64_t RowTrimLength(const ISourceGrid& grid, int row) {
  return TimeTextSeconds(grid.Cell(row, kColEndTime)) - TimeTextSeconds(grid.Cell(row, kColStartTime));
}

}  // namespace

TrimTimeline::TrimTimeline(ISourceGrid& grid, ITimelineStrip& strip, IPreviewPlayer& preview, IScheduler& scheduler)
    : grid_(grid),
      strip_(strip),
      preview_(preview),
      tmrPaintSP_(scheduler, kPaintIntervalMs, [this] { tmrPaintSPTimer(); }) {
  tmrPaintSP_.Start();
}

int TrimTimeline::StartLeft() const { return strip_.Panel2Width(); }

int TrimTimeline::EndLeft() const {
  return strip_.Panel1Width() - strip_.Panel3Width() - strip_.HandleWidth(TimelineHandle::End);
}

int TrimTimeline::MaxOuterWidth(int otherOuterWidth) const {
  const int room = strip_.Panel1Width() - strip_.HandleWidth(TimelineHandle::Start) -
                   strip_.HandleWidth(TimelineHandle::End) - otherOuterWidth - kMinRangeWidth;
  return std::max(kMinOuterWidth, room);
}

void TrimTimeline::SyncTimelineToSelection() {
  strip_.SetPanel1Width(kStripWidth);
  for (int row = 0; row < grid_.RowCount(); ++row) {
    if (!grid_.IsSelected(row)) continue;
    if (grid_.Cell(row, kColFileName) == preview_.LoadedFile()) continue;
    preview_.StopPreview();

    const int64_t duration = ReadTimeText(grid_.Cell(row, kColDuration)).value_or(0);
    const int64_t start = ReadTimeText(grid_.Cell(row, kColStartTime)).value_or(0);
    const int64_t end = ReadTimeText(grid_.Cell(row, kColEndTime)).value_or(duration);
    values_.CurrentDurationSeconds = static_cast<int32_t>(duration);
    values_.TimelineReady = false;

    const int width = strip_.Panel1Width();
    const int startHandle = strip_.HandleWidth(TimelineHandle::Start);
    const int endHandle = strip_.HandleWidth(TimelineHandle::End);
    // A row without a duration has no place on the strip: its handles go to
    // both ends, as for a range over the whole file.
    int startTarget = kMinOuterWidth;
    int endTarget = kMinOuterWidth;
    const int track = width - 2 - startHandle - endHandle;
    if (duration > 0) {
      startTarget = RoundHalfEven(static_cast<double>(start) / duration * (width - 2 - 2 * startHandle)) + 1;
      endTarget = track - RoundHalfEven(static_cast<double>(end) / duration * track) + 1;
    }
    // An End Time beyond the duration (a far-right end handle sets 101 %)
    // would push the end handle out of the strip.
    const int maxOuter = std::max(kMinOuterWidth, width - startHandle - endHandle - kMinRangeWidth);
    startTarget = std::clamp(startTarget, kMinOuterWidth, maxOuter);
    endTarget = std::clamp(endTarget, kMinOuterWidth, maxOuter);
    if (std::abs(startTarget - strip_.Panel2Width()) > kStartTolerance) strip_.SetPanel2Width(startTarget);
    if (std::abs(endTarget - strip_.Panel3Width()) > kEndTolerance) strip_.SetPanel3Width(endTarget);
    values_.TimelineReady = true;
  }
  StripChanged();
}

void TrimTimeline::SetStartTimeAndPlay() {
  strip_.SetPanel1Width(kStripWidth);
  if (EndLeft() - StartLeft() < kClosestHandles)
    strip_.SetPanel2Width(std::max(kMinOuterWidth, strip_.Panel2Width() - 1));
  const int percent =
      (StartLeft() + strip_.HandleWidth(TimelineHandle::Start) - kTrackOrigin) * kPercentSteps / strip_.Panel1Width();
  values_.PreviewStartSeconds = static_cast<int32_t>(int64_t{percent} * values_.CurrentDurationSeconds / 100);

  StripChanged();

  const std::string startText = TimeText(values_.PreviewStartSeconds);
  for (int row = 0; row < grid_.RowCount(); ++row) {
    if (!grid_.IsSelected(row)) continue;
    grid_.SetCell(row, kColStartTime, startText);
    grid_.SetCell(row, kColCutTime, TimeText(RowTrimLength(grid_, row)));
    if (values_.TimelineReady && preview_.PreviewActive()) {
      try {
        preview_.SeekPreview(int64_t{values_.PreviewStartSeconds} * 1000);
      } catch (const std::exception&) {
        // The preview stays where it was; the rows have their new start.
      }
    }
  }
}

void TrimTimeline::Splitter2Moved() {
  strip_.SetPanel1Width(kStripWidth);
  if (EndLeft() - StartLeft() < kClosestHandles)
    strip_.SetPanel3Width(std::max(kMinOuterWidth, strip_.Panel3Width() - 1));
  const int percent =
      (EndLeft() + strip_.HandleWidth(TimelineHandle::End) - kTrackOrigin - strip_.HandleWidth(TimelineHandle::Start)) *
      kPercentSteps / strip_.Panel1Width();
  const int64_t endSeconds = int64_t{percent} * values_.CurrentDurationSeconds / 100;

  StripChanged();

  const std::string endText = TimeText(endSeconds);
  for (int row = 0; row < grid_.RowCount(); ++row) {
    if (!grid_.IsSelected(row)) continue;
    grid_.SetCell(row, kColEndTime, endText);
    values_.PreviewStopTime = endText;
    grid_.SetCell(row, kColCutTime, TimeText(RowTrimLength(grid_, row)));
  }
  strip_.DrawHandle(TimelineHandle::End);
}

void TrimTimeline::DragStartHandle(int panel2Width) {
  strip_.SetPanel2Width(std::clamp(panel2Width, kMinOuterWidth, MaxOuterWidth(strip_.Panel3Width())));
  SetStartTimeAndPlay();
}

void TrimTimeline::DragEndHandle(int panel3Width) {
  strip_.SetPanel3Width(std::clamp(panel3Width, kMinOuterWidth, MaxOuterWidth(strip_.Panel2Width())));
  Splitter2Moved();
}

void TrimTimeline::Panel2MouseDown(MouseButton button, const HeldModifiers& held) {
  if (button != MouseButton::Left) return;
  const int step = MouseStep(held);
  if (strip_.Panel4Width() <= step || strip_.Panel2Width() + strip_.Panel3Width() + kClickRoom > strip_.Panel1Width())
    return;
  // Narrower than the step, the part before the handle keeps its last pixel.
  strip_.SetPanel2Width(std::max(kMinOuterWidth, strip_.Panel2Width() - step));
  SetStartTimeAndPlay();
}

void TrimTimeline::Panel3MouseDown(MouseButton button, const HeldModifiers& held) {
  if (button != MouseButton::Left) return;
  const int step = MouseStep(held);
  if (strip_.Panel3Width() <= step || strip_.Panel2Width() + strip_.Panel3Width() + kClickRoom > strip_.Panel1Width())
    return;
  strip_.SetPanel3Width(strip_.Panel3Width() - step);
  Splitter2Moved();
}

void TrimTimeline::tmrPaintSPTimer() {
  const bool startDrawn = strip_.DrawHandle(TimelineHandle::Start);
  const bool endDrawn = strip_.DrawHandle(TimelineHandle::End);
  // Nothing changes the handles but the timeline's own moves, which wake
  // the timer again: resting meanwhile spares 100 wake-ups a second.
  if (!startDrawn && !endDrawn) tmrPaintSP_.Stop();
}

void TrimTimeline::MoveHandlesToEnds() {
  strip_.SetPanel2Width(kEmptyListOuterWidth);
  strip_.SetPanel3Width(kEmptyListOuterWidth);
  StripChanged();
}

}  // namespace sonvarro
