#pragma once

// What the command line asks for, read from its arguments.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sonvarro {

inline constexpr const char* kCommandName = "sonvarro-convert";
// The argument that stands for file names read from standard input.
inline constexpr const char* kStandardInputArgument = "-";

// An argument the command cannot take; the text names the option and what
// is wrong with it.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ConvertRequest {
  std::optional<int> outputType;  // a position of the output type list
  std::optional<std::string> profile;
  std::optional<std::string> outputFolder;
  std::optional<std::string> start, end;  // TimeText
  std::optional<std::string> volume;      // an item of the volume list
  bool quiet = false;
  bool verbose = false;
  bool help = false;
  bool version = false;
  bool listProfiles = false;
  std::optional<int> listProfilesType;  // --list-profiles TYPE
  std::vector<std::string> files;       // in order; kStandardInputArgument where names come from standard input
};

// The output type whose extension, without its dot, is name ("mp3").
std::optional<int> OutputTypeNamed(const std::string& name);
// The names OutputTypeNamed takes, in the list's order, joined by ", ".
std::string OutputTypeNames();

// Reads the arguments after the program's name. Throws UsageError.
ConvertRequest ReadConvertRequest(const std::vector<std::string>& args);

// The text of --help.
std::string ConvertUsageText();

}  // namespace sonvarro
