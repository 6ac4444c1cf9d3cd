#pragma once

#include <functional>
#include <string>

#include "controls/Controls.h"
#include "engine/AdvanceSystem.h"
#include "engine/CommandLineBuilder.h"
#include "engine/ConversionJob.h"
#include "engine/CustomProc.h"
#include "engine/EncoderProcesses.h"
#include "engine/EncoderStopper.h"
#include "engine/FrmConverting.h"
#include "engine/OptionControls.h"
#include "engine/ProgressWindowControls.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "services/FileFunc.h"
#include "services/Scheduler.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro {

// The main window's controls the conversion reads and drives.
struct ConversionInputs {
  ISourceGrid& sourceList;  // dxTreeSourceFileInfo
  OptionControls& options;
  ITextField& edtOutputFolder;
  ICheckBox& chkShowOutputDirectory;
  ICheckBox& chkShutdown;
  IControl& mainWindow;  // disabled while a job runs
};

// The shared objects and the machine it works with.
struct ConversionServices {
  IScheduler& scheduler;
  TCustomProc& proc;
  TCommonLib& lib;
  TAppFunc& appFunc;
  TFileFunc& fileFunc;
  IEncoderProcesses& processes;        // running encoders, found and ended by name
  ICustomProfileInUse& customProfile;  // applied again before each item
  platform::IDesktop& desktop;         // the progress window's questions
  AdvanceSystemFactory newRunner;
  std::function<void()> quitApplication;  // ends the program right after the power-off
  std::function<void()> onJobFinished;    // after each job; may be empty
};

// Everything behind the Convert button, on the progress window's controls:
// the command line, the encoder stopper, the progress window's behaviour and
// the job.
class ConversionUnit {
 public:
  ConversionUnit(ConversionInputs inputs, ProgressWindowControls& progressWindow, ConversionServices services,
                 ConversionTimings timings = {});
  ConversionUnit(const ConversionUnit&) = delete;
  ConversionUnit& operator=(const ConversionUnit&) = delete;

  // The Convert button. Ignored while a job runs; returns at once, the job
  // runs on the scheduler.
  void btnConvertClick() { job_.btnConvertClick(sourceList_); }
  bool Running() const { return job_.Running(); }
  // Closing the program: see ConversionJob::EndForExit.
  void EndForExit() { job_.EndForExit(); }

  CommandLineBuilder& Builder() { return builder_; }
  EncoderStopper& Stopper() { return stopper_; }
  TfrmConverting& ProgressBehaviour() { return form_; }
  ConversionJob& Job() { return job_; }

 private:
  ISourceGrid& sourceList_;
  CommandLineBuilder builder_;
  EncoderStopper stopper_;
  TfrmConverting form_;
  ConversionJob job_;
};

}  // namespace sonvarro
