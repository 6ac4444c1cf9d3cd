#include "cli/ConvertCommand.h"

#include "IniFiles32/IniFile32.h"
#include "cli/BatchChoices.h"
#include "cli/BatchInputs.h"
#include "cli/BatchRun.h"
#include "cli/ConvertRequest.h"
#include "cli/ProgressLines.h"
#include "engine/CommandLineBuilder.h"
#include "engine/CustomProc.h"
#include "engine/EncoderProcesses.h"
#include "services/AppFunc.h"
#include "services/ApplicationTitle.h"
#include "services/CommonLib.h"
#include "services/FileFunc.h"
#include "services/ProgramVersion.h"
#include "services/platform/DataFolder.h"
#include "services/platform/Desktop.h"
#include "settings/CustomProfiles.h"

namespace sonvarro {
namespace {

constexpr const char* kLogFile = "log.txt";

Verbosity VerbosityOf(const ConvertRequest& request) {
  if (request.quiet) return Verbosity::Quiet;
  return request.verbose ? Verbosity::Verbose : Verbosity::Normal;
}

int Convert(const ConvertRequest& request, const ConvertCommandPlaces& places, std::istream& in, std::ostream& err,
            bool errIsTerminal) {
  TAppFunc appFunc(platform::DataFolder(places.appFolder));
  const std::string dataFolder = appFunc.GetDataPath();
  BatchChoices choices;
  LoadBatchChoices(choices, request, dataFolder, appFunc);

  ProgressLines progress(err, errIsTerminal, VerbosityOf(request));
  PlainSourceGrid grid;
  BatchOutcome outcome;
  for (const SkippedInput& input :
       AddBatchInputs(grid, ExpandFileArguments(request.files, in), request.start, request.end)) {
    progress.Skipped(input);
    outcome.failed.push_back(input.path + " (" + input.reason + ")");
  }

  TCommonLib lib(places.appFolder, appFunc, platform::SystemDesktop());
  TCustomProc proc;
  TFileFunc fileFunc;
  SystemEncoderProcesses processes(lib);
  StoredProfileInUse profileInUse(choices.options.controls, dataFolder, appFunc);
  CommandLineBuilder builder({grid, choices.options.controls, choices.edtOutputFolder},
                             {proc, lib, appFunc, fileFunc, profileInUse});
  RunBatch(grid, {proc, lib, appFunc, builder, processes, progress}, outcome);
  progress.Summary(outcome, dataFolder + kLogFile);
  if (outcome.interrupted) return kExitInterrupted;
  return outcome.failed.empty() ? kExitConverted : kExitSomeFailed;
}

}  // namespace

int RunConvertCommand(const std::vector<std::string>& args, const ConvertCommandPlaces& places, std::istream& in,
                      std::ostream& out, std::ostream& err, bool errIsTerminal) {
  try {
    const ConvertRequest request = ReadConvertRequest(args);
    if (request.help) {
      out << ConvertUsageText();
      return kExitConverted;
    }
    if (request.version) {
      out << kCommandName << " (" << kApplicationTitle << ") " << GetVersionText(places.exePath) << "\n";
      return kExitConverted;
    }
    if (request.listProfiles) {
      TAppFunc appFunc(platform::DataFolder(places.appFolder));
      out << ProfileListText(appFunc.GetDataPath(), appFunc, request.listProfilesType);
      return kExitConverted;
    }
    return Convert(request, places, in, err, errIsTerminal);
  } catch (const UsageError& error) {
    err << kCommandName << ": " << error.what() << "\nTry '" << kCommandName << " --help'.\n";
    return kExitUsage;
  } catch (const IniFileError& error) {
    err << kCommandName << ": " << error.what() << "\n";
    return kExitSomeFailed;
  }
}

}  // namespace sonvarro
