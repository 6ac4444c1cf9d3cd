#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/AdvanceSystem.h"
#include "engine/EncoderCommand.h"

namespace sonvarro {

// The controller's state: what the command line build leaves for the
// progress window, and the conversion job's counters. One object for the
// whole program; the operations that use it hold a reference.
struct TCustomProc {
  // Set by each command line build, read while the item converts.
  std::string CurrentStartTime;   // the row's Start Time
  std::string CurrentCutSeconds;  // trim length in seconds, decimal

  // The conversion job; the counters keep their values after a job ends.
  int32_t ConvertedCount = 0;  // rows handed to the encoder (a stopped row counts)
  int32_t FailedCount = 0;     // of those, rows whose encoder could not start or failed (a stopped row does not)
  int32_t CheckedCount = 0;    // checked rows when the job started
  int32_t RefreshCount = 0;    // progress refreshes of the current row
  int32_t CurrentRow = 0;      // a stop sets it past the last row
  EncoderCommand CommandLine;  // the current row's
  bool StopRequested = false;  // set by the progress window's Stop button
  bool JobRunning = false;     // from the Convert button until the job has ended
  // The progress window is asking whether to stop: the job holds still
  // until the answer, so nothing it does can overtake the user's choice.
  int QuestionsOpen = 0;
  std::unique_ptr<TAdvanceSystem> EncoderRunner;  // the current row's runner, or none

  // The preview: set by a play, cleared by a pause or a stop.
  bool IsPlaying = false;
};

}  // namespace sonvarro
