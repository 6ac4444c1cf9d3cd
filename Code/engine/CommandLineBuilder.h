#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "controls/Controls.h"
#include "engine/CustomProc.h"
#include "engine/EncoderCommand.h"
#include "engine/EncoderName.h"
#include "engine/OptionControls.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "services/FileFunc.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro {

// What a command line is built from: the source list's rows, the option
// selectors and the output folder field, plus the shared objects it writes.
struct CommandLineSources {
  ISourceGrid& sourceList;
  OptionControls& options;
  ITextField& edtOutputFolder;
};

// The custom profile in use, as each item of a conversion applies it.
class ICustomProfileInUse {
 public:
  virtual ~ICustomProfileInUse() = default;
  // Sets the six profile selectors from the custom profile the main
  // window's profile list shows, as stored now; nothing when it shows a
  // preset.
  virtual void ApplyMainWindowProfile() = 0;
};

struct CommandLineServices {
  TCustomProc& proc;    // receives CurrentStartTime and CurrentCutSeconds
  TCommonLib& lib;      // AppFolder; receives Params
  TAppFunc& appFunc;    // the log
  TFileFunc& fileFunc;  // the free output name
  ICustomProfileInUse& customProfile;
};

// Builds the encoder command line of one row of the source list.
class CommandLineBuilder {
 public:
  CommandLineBuilder(CommandLineSources sources, CommandLineServices services);

  // Fills Params, CurrentStartTime and CurrentCutSeconds, creates the output
  // folder (logging it) and returns the command for the row holding path,
  // writing to the first free name in the output folder. A trim range that
  // does not read as two times leaves CurrentStartTime empty and the line
  // without "-ss" and "-t". The output name is reserved: an empty file of
  // that name exists from here on, so no other writer takes it.
  EncoderCommand BuildCommandLine(const std::string& path);

  // The output folder field's text ending in "/", created with its parents;
  // logs "Output directory " or "Output directory error. ->" and the folder.
  std::string PrepareOutputFolder();

  // Start Time of the last row whose path is path, byte for byte (names that
  // differ in case only are two files), empty when none does. Each matching row also applies
  // the custom profile in use.
  std::string GetItemStartTime(const std::string& path);

  // End Time minus Start Time, in seconds, of the last row holding path; 0
  // when none does. A time that is not three ":"-joined numbers counts as 0.
  int32_t GetTrimLength(const std::string& path);

  // True when the last row holding path has a Start Time and an End Time
  // that read as times; only such a range goes to the encoder.
  bool HasReadableTrimRange(const std::string& path) const;

 private:
  CommandLineSources sources_;
  CommandLineServices services_;
};

}  // namespace sonvarro
