#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace sonvarro {

// The exit statuses of the command.
inline constexpr int kExitConverted = 0;      // every file converted
inline constexpr int kExitSomeFailed = 1;     // some did not (the summary names them)
inline constexpr int kExitUsage = 2;          // the arguments were wrong
inline constexpr int kExitInterrupted = 130;  // Ctrl+C, as a shell reports SIGINT

// Where the command runs: the application folder (evc.exe, the default
// Config/) and the program file, whose version --version shows.
struct ConvertCommandPlaces {
  std::string appFolder;  // ends in "/"
  std::string exePath;
};

// The whole command: reads args (without the program's name), converts and
// reports; the exit status. Help, version and the profile list go to out,
// everything else to err. The caller has caught interrupts.
int RunConvertCommand(const std::vector<std::string>& args, const ConvertCommandPlaces& places, std::istream& in,
                      std::ostream& out, std::ostream& err, bool errIsTerminal);

}  // namespace sonvarro
