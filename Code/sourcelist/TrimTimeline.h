#pragma once

// The trim timeline under the preview: a strip with a start handle and an end
// handle for the trim range of the selected row. Placing the handles maps
// the row's times to pixels; moving a handle maps pixels back to whole
// percents of the duration and writes them into the selected rows.

#include <cstdint>
#include <string>

#include "controls/Keys.h"
#include "services/Scheduler.h"
#include "sourcelist/PreviewPlayer.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro {

enum class TimelineHandle { Start, End };  // `Splitter1`, `Splitter2`

// The strip `Panel1` as the timeline sees it. From left to right: `Panel2`
// (before the start handle), the start handle, `Panel4` (the range; it fills
// what is left), the end handle and `Panel3` (after the end handle). Setting
// a width lays the parts out again at once.
class ITimelineStrip {
 public:
  virtual ~ITimelineStrip() = default;
  virtual int Panel1Width() const = 0;
  virtual void SetPanel1Width(int width) = 0;
  virtual int Panel2Width() const = 0;
  virtual void SetPanel2Width(int width) = 0;
  virtual int Panel3Width() const = 0;
  virtual void SetPanel3Width(int width) = 0;
  // Never below 0, also when the outer parts overlap.
  virtual int Panel4Width() const = 0;
  virtual int HandleWidth(TimelineHandle handle) const = 0;
  // Draws the handle's picture; false when the screen already showed it as
  // it is, so there was nothing to draw.
  virtual bool DrawHandle(TimelineHandle handle) = 0;
};

// What the timeline shares with the preview player.
struct TimelineValues {
  // The handles have been placed for a row at least once; false while a
  // placing is under way. Gates every seek to a trim start.
  bool TimelineReady = false;
  int32_t CurrentDurationSeconds = 0;  // of the row placed last
  int32_t PreviewStartSeconds = 0;     // set last with the start handle
  std::string PreviewStopTime;         // set last with the end handle; empty until then
};

class TrimTimeline {
 public:
  static constexpr int kStripWidth = 260;
  // Handles closer than this (left edge to left edge) are pushed apart by 1
  // pixel at every move.
  static constexpr int kClosestHandles = 20;
  // The room a click beside a handle needs: both outer parts and this much
  // must fit into the strip.
  static constexpr int kClickRoom = 45;

  static constexpr int kPaintIntervalMs = 10;

  // Starts `tmrPaintSP`.
  TrimTimeline(ISourceGrid& grid, ITimelineStrip& strip, IPreviewPlayer& preview, IScheduler& scheduler);
  TrimTimeline(const TrimTimeline&) = delete;
  TrimTimeline& operator=(const TrimTimeline&) = delete;

  TimelineValues& Values() { return values_; }
  const TimelineValues& Values() const { return values_; }

  // Places the handles at the Start Time and End Time of the selected rows
  // (the last of them decides), stopping the preview for each one, except
  // for the row whose file the preview holds. A row without a duration puts
  // the handles at both ends.
  void SyncTimelineToSelection();
  // The start handle moved (`Splitter1`): its place, as a whole percent of
  // the duration, becomes the Start Time of every selected row and the
  // preview's start.
  void SetStartTimeAndPlay();
  // The end handle moved (`Splitter2`): its place becomes the End Time of
  // every selected row and the point where the preview stops.
  void Splitter2Moved();

  // One step of a drag of a handle, or its release: the part the handle
  // resizes asks for this width. Both outer parts keep 1 pixel and the range
  // keeps 1 pixel; then the handle's move runs.
  void DragStartHandle(int panel2Width);
  void DragEndHandle(int panel3Width);

  // Presses on the parts beside the handles move a handle by a step toward
  // its end of the strip: 1 pixel with Ctrl alone, 10 with Shift alone,
  // 5 otherwise. Left button only.
  void Panel2MouseDown(MouseButton button, const HeldModifiers& held);
  void Panel3MouseDown(MouseButton button, const HeldModifiers& held);
  void Panel4MouseDown(MouseButton, const HeldModifiers&) {}

  // `tmrPaintSP`, every 10 ms: redraws both handles. Once neither had
  // anything to draw the timer rests, until the timeline changes the strip.
  void tmrPaintSPTimer();
  bool PaintTimerRunning() const { return tmrPaintSP_.Enabled(); }

  // The list became empty: both handles at the ends, 2 pixels in.
  void MoveHandlesToEnds();

 private:
  int StartLeft() const;
  int EndLeft() const;
  int MaxOuterWidth(int otherOuterWidth) const;
  void StripChanged() { tmrPaintSP_.Start(); }

  ISourceGrid& grid_;
  ITimelineStrip& strip_;
  IPreviewPlayer& preview_;
  TimelineValues values_;
  RepeatingTimer tmrPaintSP_;
};

}  // namespace sonvarro
