#include "cli/ConvertRequest.h"

#include <algorithm>
#include <functional>

#include "engine/OutputTables.h"
#include "sourcerows/SourceRows.h"

namespace sonvarro {
namespace {

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

std::string VolumeNames() {
  return std::string(VolumeGains.front()) + " to " + std::string(VolumeGains[VolumeGains.size() - 2]) +
         " in steps of " + std::string(VolumeGains[1]);
}

int ReadType(const std::string& option, const std::string& value) {
  const std::optional<int> type = OutputTypeNamed(value);
  if (!type) throw UsageError(option + ": " + Quoted(value) + " is not an output type (" + OutputTypeNames() + ")");
  return *type;
}

std::string ReadTime(const std::string& option, const std::string& value) {
  if (!ReadTimeText(value)) throw UsageError(option + ": " + Quoted(value) + " is not a time hh:mm:ss");
  return value;
}

std::string ReadVolume(const std::string& option, const std::string& value) {
  // The last entry is the list's default position, not an item.
  if (std::find(VolumeGains.begin(), VolumeGains.end() - 1, value) == VolumeGains.end() - 1)
    throw UsageError(option + ": " + Quoted(value) + " is not a volume (" + VolumeNames() + ")");
  return value;
}

}  // namespace

std::optional<int> OutputTypeNamed(const std::string& name) {
  for (int type = 0; type < kOutputTypeCount; ++type)
    if (OutputTypeTable[static_cast<size_t>(type)].extension.substr(1) == name) return type;
  return std::nullopt;
}

std::string OutputTypeNames() {
  std::string names;
  for (const OutputTypeRow& row : OutputTypeTable)
    names += (names.empty() ? "" : ", ") + std::string(row.extension.substr(1));
  return names;
}

ConvertRequest ReadConvertRequest(const std::vector<std::string>& args) {
  ConvertRequest request;
  // Options that take a value, by both their names.
  using Setter = std::function<void(const std::string& option, const std::string& value)>;
  const struct {
    const char* shortName;
    const char* longName;
    Setter set;
  } valued[] = {
      {"-t", "--type", [&](auto& o, auto& v) { request.outputType = ReadType(o, v); }},
      {"-p", "--profile", [&](auto&, auto& v) { request.profile = v; }},
      {"-o", "--output",
       [&](auto& o, auto& v) {
         if (v.empty()) throw UsageError(o + ": the folder is empty");
         request.outputFolder = v;
       }},
      {nullptr, "--start", [&](auto& o, auto& v) { request.start = ReadTime(o, v); }},
      {nullptr, "--end", [&](auto& o, auto& v) { request.end = ReadTime(o, v); }},
      {nullptr, "--volume", [&](auto& o, auto& v) { request.volume = ReadVolume(o, v); }},
  };
  const struct {
    const char* shortName;
    const char* longName;
    bool ConvertRequest::*flag;
  } flags[] = {{"-q", "--quiet", &ConvertRequest::quiet},
               {"-v", "--verbose", &ConvertRequest::verbose},
               {"-h", "--help", &ConvertRequest::help},
               {nullptr, "--version", &ConvertRequest::version}};

  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == kStandardInputArgument || arg.empty() || arg[0] != '-') {
      request.files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--list-profiles") {
      request.listProfiles = true;
      if (i + 1 < args.size() && OutputTypeNamed(args[i + 1])) request.listProfilesType = OutputTypeNamed(args[++i]);
      continue;
    }
    bool known = false;
    for (const auto& flag : flags) {
      if (arg != flag.longName && !(flag.shortName && arg == flag.shortName)) continue;
      request.*flag.flag = true;
      known = true;
    }
    for (const auto& option : valued) {
      if (known) break;
      const std::string longName = option.longName;
      if (arg.rfind(longName + "=", 0) == 0) {
        option.set(longName, arg.substr(longName.size() + 1));
      } else if (arg == longName || (option.shortName && arg == option.shortName)) {
        if (i + 1 >= args.size()) throw UsageError(arg + ": a value is missing");
        option.set(arg, args[++i]);
      } else {
        continue;
      }
      known = true;
    }
    if (!known) throw UsageError(arg + ": no such option");
  }
  if (request.start && request.end && *ReadTimeText(*request.end) <= *ReadTimeText(*request.start))
    throw UsageError("--end: " + *request.end + " is not after --start " + *request.start);
  if (request.quiet && request.verbose) throw UsageError("--quiet and --verbose: only one of them");
  if (request.files.empty() && !request.help && !request.version && !request.listProfiles)
    throw UsageError("no file to convert");
  return request;
}

std::string ConvertUsageText() {
  return std::string("Usage: ") + kCommandName + " [options] FILE...\n" +
         "Converts each FILE in turn with evc.exe, as Sonvarro Converter's Convert does.\n"
         "FILE - reads file names from standard input, one per line.\n"
         "\n"
         "  -t, --type TYPE       output type: " +
         OutputTypeNames() +
         "\n"
         "  -p, --profile NAME    a preset (\"Normal Quality\") or a stored custom profile\n"
         "  -o, --output DIR      output folder (default: the window's)\n"
         "      --start hh:mm:ss  convert every file from this time on\n"
         "      --end hh:mm:ss    ... up to this time\n"
         "      --volume PERCENT  " +
         VolumeNames() +
         " (default 200)\n"
         "  -q, --quiet           no progress, only problems\n"
         "  -v, --verbose         the encoder's own status lines too\n"
         "      --list-profiles [TYPE]  the presets and custom profiles, with what each sets\n"
         "  -h, --help            this text\n"
         "      --version         the program's version\n"
         "\n"
         "Defaults are the window's current settings. Exit status: 0 every file converted,\n"
         "1 some failed, 2 usage error, 130 interrupted.\n";
}

}  // namespace sonvarro
