#pragma once

#include <QWidget>
#include <functional>

#include "engine/CommandLineBuilder.h"
#include "engine/ConversionJob.h"
#include "engine/EncoderProcesses.h"
#include "engine/EncoderStopper.h"
#include "engine/FrmConverting.h"
#include "ui/ConvertingDialog.h"
#include "ui/QtScheduler.h"

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

// The program's shared objects it works on (created once at start-up).
struct ConversionServices {
  TCustomProc& proc;
  TCommonLib& lib;
  TAppFunc& appFunc;
  TFileFunc& fileFunc;
};

// Everything the Convert button needs, on the Qt event loop: the progress
// window, its behaviour and the job, with the real encoder runner and
// process look-up. The progress window is a window of its own, not a child
// of the main window, so that disabling the main window leaves its Stop
// button usable; it is centred on mainWindowWidget when that is given.
class ConversionUnit {
 public:
  ConversionUnit(ConversionInputs inputs, ConversionServices services, QWidget* mainWindowWidget = nullptr,
                 ConversionTimings timings = {});
  ~ConversionUnit();
  ConversionUnit(const ConversionUnit&) = delete;
  ConversionUnit& operator=(const ConversionUnit&) = delete;

  // The Convert button. Ignored while a job runs. Returns at once; the job
  // runs on the event loop.
  void btnConvertClick();
  bool Running() const { return job_.Running(); }

  // The custom profile seam of the command line build (see
  // TCommandLineBuilder::ApplyCustomProfile).
  void SetApplyCustomProfile(std::function<void()> apply);
  // Ends the program right after the power-off; by default the event loop
  // is left at once (QCoreApplication::exit).
  void SetQuitApplication(std::function<void()> quit);
  // Runs after every job that did not end the program.
  void SetOnJobFinished(std::function<void()> finished);

  ConvertingDialog& Dialog() { return dialog_; }
  TfrmConverting& Form() { return form_; }

 private:
  void CentreOnMainWindow();

  // Declared first, destroyed last: the others set timers and post on it.
  QtScheduler scheduler_;
  ConvertingDialog dialog_;
  QWidget* mainWindowWidget_;
  ISourceGrid& sourceList_;
  std::function<void()> quit_;
  SystemEncoderProcesses processes_;
  TCommandLineBuilder builder_;
  TEncoderStopper stopper_;
  TfrmConverting form_;
  TConversionJob job_;
};

}  // namespace sonvarro
