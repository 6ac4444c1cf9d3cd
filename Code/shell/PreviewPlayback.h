#pragma once

// The preview of the main window: the selected row's file played in the
// video area with play, pause and stop, the position shown in hours,
// minutes and seconds, a pause at the end of the loaded row's trim range and
// a stop at the end of the file. Everything runs on the user-interface
// thread.

#include <cstdint>
#include <string>

#include "controls/Controls.h"
#include "engine/CustomProc.h"
#include "player/MediaGraph.h"
#include "player/PositionTrackBar.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "services/platform/Desktop.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro {

// The preview's controls on the main window.
struct PreviewControls {
  IPanel& panLogo;            // the logo over the video area
  ITextField& pnlCurTime;     // the position display
  IProgressBar& pbPlayState;  // never shown; mirrors the position track bar
};

// What the preview works with.
struct PreviewParts {
  MediaGraph& FilterGraph;             // the preview graph, drawing into the video area
  PositionTrackBar& dstrckbrMainform;  // bound to FilterGraph: ticks while it plays
  ISourceGrid& dxTreeSourceFileInfo;   // the play command loads its selected rows; their trim ranges
  TCustomProc& proc;                   // IsPlaying
  TCommonLib& common;                  // LoadedFile
  TAppFunc& appFunc;                   // the log
  platform::IDesktop& desktop;         // lets the window draw while a file starts
};

// What each operation reports it left the preview in; nothing shows it. An
// operation with nothing to do reports nothing (an empty word).
inline constexpr const char* kWordPlaying = "Playing";
inline constexpr const char* kWordPaused = "Paused";
inline constexpr const char* kWordStopped = "Stoped";

inline constexpr const char* kPlayingVideoError = "Playing Video error.";

// A position in 100-nanosecond units as the display shows it: whole seconds
// (truncated) as hours, minutes and seconds, each at least two digits;
// hours may take more.
std::string PositionText(int64_t position);

class PreviewPlayback {
 public:
  // Sets the position track bar's OnTimer to dstrckbrMainformTimer.
  PreviewPlayback(PreviewControls controls, PreviewParts parts);
  PreviewPlayback(const PreviewPlayback&) = delete;
  PreviewPlayback& operator=(const PreviewPlayback&) = delete;

  // Each does nothing while the graph is inactive. A failure of the graph is
  // not reported: the logo comes back and the word is "Stoped".
  std::string PlayPreview();
  std::string PausePreview();
  // Releases the file: the graph goes inactive, LoadedFile empties, the
  // display reads "00:00:00" and the logo comes back.
  std::string StopPreview();
  // Opens path in a fresh graph and plays it from the Start Time of its row
  // (from the beginning when that lies at or beyond the file's end). A file that does not play whole is logged as
  // "Playing Video error." and leaves an empty graph; after a partial render
  // LoadedFile keeps the path. Nothing escapes.
  std::string LoadAndPlayPreview(const std::string& path);

  // The buttons: play resumes what is loaded, or loads every selected row in
  // list order (the last one stays); pause pauses what plays; stop stops.
  void btnPlayClick();
  void btnPauseClick();
  void btnStopClick();
  // The position track bar's tick while playing: the display, the End Time
  // of the loaded row (back to its Start Time and paused) and the end of the
  // file (stopped).
  void dstrckbrMainformTimer(uint32_t currentMs, uint32_t durationMs);

 private:
  // The row holding path, the selected one first; -1 when none does.
  int RowOf(const std::string& path) const;

  PreviewControls controls_;
  PreviewParts parts_;
};

}  // namespace sonvarro
