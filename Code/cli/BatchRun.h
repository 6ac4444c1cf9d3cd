#pragma once

#include <string>

#include "cli/ProgressLines.h"
#include "engine/CommandLineBuilder.h"
#include "engine/CustomProc.h"
#include "engine/EncoderProcesses.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro {

struct BatchRunParts {
  TCustomProc& proc;
  TCommonLib& lib;  // the application folder, where the encoder runs
  TAppFunc& appFunc;
  CommandLineBuilder& builder;
  IEncoderProcesses& processes;  // the encoder ended on an interrupt
  ProgressLines& progress;
};

// Converts every row of grid in order, each as soon as the one before has
// ended: the command line built and logged as the window's job does it, the
// encoder run, a failed file logged and what it left removed. An interrupt
// (platform::InterruptRequested) ends the running encoder, removes what it
// left and ends the batch. outcome arrives with the skipped inputs; the rest
// is filled here.
void RunBatch(const ISourceGrid& grid, BatchRunParts parts, BatchOutcome& outcome);

}  // namespace sonvarro
