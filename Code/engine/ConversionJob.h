#pragma once

// The conversion job: how the Convert button turns the checked rows into files.
//
// The job is a chain of steps on the scheduler (the Qt event loop in the
// program, virtual time in tests), so the user interface stays live between
// them. One row at a time:
//
//   ConvertRow        build the command line (CommandLineBuilder), log it,
//                     show the progress window, disable the main window; a
//                     row whose output folder has gone since the job's first
//                     row fails here, and the next row follows
//     | 2000 ms
//   StartEncoder      a TAdvanceSystem runner starts evc.exe on its own thread
//     | 3000 ms
//   WaitForEncoder    every 100 ms: does a process named evc.exe still run?
//     | none left
//   RowDone           the runner is joined and tells how the encoder ended; a
//                     failed row is logged and remembered, and what a failed
//                     or stopped encoder left at the output is removed; the
//                     next checked row follows
//
// and after the last row AfterJobActions (the list of failed files, the
// output folder, the power-off) and Finish (progress window hidden, main
// window enabled).
//
// Meanwhile the runner's thread hands each chunk of encoder output to
// OnEncoderOutput, which only posts it to the user-interface thread; there
// TfrmConverting::actRefreshProgressExecute moves the bars.
//
// Who writes what in TCustomProc:
//   the job              ConvertedCount, FailedCount, CheckedCount, CurrentRow,
//                        CommandLine, EncoderRunner, JobRunning; clears
//                        StopRequested
//   the command line     CurrentStartTime, CurrentCutSeconds (and Params in
//                        TCommonLib)
//   the progress window  RefreshCount (per chunk); on a confirmed stop
//                        CurrentRow (past the end) and StopRequested (Stop
//                        only); QuestionsOpen while it asks, which holds the
//                        job's next step until the answer
//
// A step that throws ends the job cleanly (encoder stopped, windows restored)
// before the error reaches the last-resort handler.

#include <functional>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "engine/CommandLineBuilder.h"
#include "engine/CustomProc.h"
#include "engine/EncoderProcesses.h"
#include "engine/EncoderStopper.h"
#include "engine/FrmConverting.h"
#include "engine/RunFailure.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "services/Scheduler.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro {

inline constexpr const char* kEmptyListWarning = "Please add media files you want to convert into the list.";
// Rows are listed but none is checked, so nothing would be converted.
inline constexpr const char* kNothingCheckedWarning = "No file is checked. Please check the files you want to convert.";
// The message after a job with failed rows (engine/RunFailure.h) lists at
// most this many files, then "and N more" for the rest.
inline constexpr int kFailedFilesListed = 10;
// With the power-off asked, nobody may be there to answer: the message closes
// itself after this long and the power-off goes ahead.
inline constexpr int kFailedFilesMessageCloseMs = 60000;

// The job's pauses. The program keeps these values; only tests shorten them.
struct ConversionTimings {
  int pauseBeforeEncoderMs = 2000;      // the progress window is up, the encoder not yet started
  int pauseAfterEncoderStartMs = 3000;  // before the first look for a running encoder
  int encoderPollMs = 100;              // between looks while an encoder runs
};

// What the job works with.
struct ConversionJobParts {
  IScheduler& scheduler;
  TCustomProc& proc;
  TCommonLib& lib;
  TAppFunc& appFunc;
  CommandLineBuilder& builder;
  TfrmConverting& frmConverting;
  IControl& mainWindow;
  ICheckBox& chkShowOutputDirectory;
  ICheckBox& chkShutdown;
  IEncoderProcesses& processes;
  EncoderStopper& stopper;  // its give-ups end the wait for an encoder
  AdvanceSystemFactory newRunner;
  std::function<void()> quitApplication;  // ends the program at once
  // Runs on the user-interface thread once a job has ended (not after the
  // power-off, which ends the program); may be empty.
  std::function<void()> onFinished;
};

// The conversion job: every checked row of the source list, one after
// another, through the encoder. It runs as a chain of steps on the
// scheduler, so the user interface stays live between them; the progress
// window's Stop and close act on TCustomProc while it waits. While their
// question is open the job holds still: a step that comes due then waits
// for the answer.
class ConversionJob {
 public:
  explicit ConversionJob(ConversionJobParts parts, ConversionTimings timings = {});
  // Ends a running encoder first, so that its runner can be joined.
  ~ConversionJob();
  ConversionJob(const ConversionJob&) = delete;
  ConversionJob& operator=(const ConversionJob&) = delete;

  // The Convert button: ConvertedCount := 0, then the job over list.
  // Returns false, doing nothing, while a job runs.
  bool btnConvertClick(ISourceGrid& list);
  bool ConvertCheckedItems(ISourceGrid& list);

  // The runner's callback: hands the chunk to the user-interface thread
  // without waiting there. Safe on any thread.
  void OnEncoderOutput(const std::string& chunk);

  bool Running() const { return parts_.proc.JobRunning; }

  // The program is closing in the middle of a job: the encoder is ended and
  // what it left of the current row is removed, so that no half-written file
  // stays behind; nothing more runs. No-op without a job.
  void EndForExit();

 private:
  bool PastLastRow() const;
  void NextCheckedRow();
  void ConvertRow();
  void StartEncoder();
  void WaitForEncoder();
  // Logs and remembers a failed row; removes what a failed or stopped
  // encoder left at the output.
  void CheckRowOutcome(const EncoderOutcome& outcome);
  void RowDone();
  void ShowFailedFiles(bool powerOffFollows);
  void Finish();
  void AfterJobActions();
  using Step = void (ConversionJob::*)();
  void After(int delayMs, Step step);
  // Runs step unless a stop question holds the job; a step that fails ends
  // the job cleanly before the error goes on to the last-resort handler.
  void RunStep(Step step);
  void EndAfterFailure();
  // Cancels the pending step and ends the encoder this job started.
  void Abandon();

  ConversionJobParts parts_;
  ConversionTimings timings_;
  ISourceGrid* list_ = nullptr;           // set while a job runs
  std::string rowSource_;                 // the current row's path
  std::string unsettledOutput_;           // the current row's output until its outcome is known
  std::vector<std::string> failedFiles_;  // this job's failed rows, in row order
  std::string jobOutputFolder_;           // made by the job's first row; later rows only write into it
  int giveUpsAtRowStart_ = 0;
  IScheduler::TimerId pending_ = 0;
};

}  // namespace sonvarro
