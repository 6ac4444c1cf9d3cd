// sonvarro-convert: the window's conversions from a terminal or a script.
#include <iostream>
#include <string>
#include <vector>

#include "cli/ConvertCommand.h"
#include "services/platform/Console.h"
#include "services/platform/ExecutableFolder.h"
#include "services/platform/Paths.h"

int main(int argc, char** argv) {
  sonvarro::platform::CatchInterrupt();
  const std::vector<std::string> args(argv + 1, argv + argc);
  const sonvarro::ConvertCommandPlaces places{
      sonvarro::platform::WithTrailingSeparator(sonvarro::platform::ExecutableFolder()),
      sonvarro::platform::ExecutablePath().ValueOr({})};
  return sonvarro::RunConvertCommand(args, places, std::cin, std::cout, std::cerr,
                                     sonvarro::platform::StandardErrorIsTerminal());
}
