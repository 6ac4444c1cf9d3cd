// sonvarro-convert's entry on Windows: the arguments come as UTF-16 whatever
// the code page and are handed on as UTF-8, the text the rest of the program
// keeps its paths in.
#include <iostream>
#include <string>
#include <vector>

#include "cli/ConvertCommand.h"
#include "services/platform/Console.h"
#include "services/platform/ExecutableFolder.h"
#include "services/platform/Paths.h"
#include "services/platform/windows/SystemText.h"

int wmain(int argc, wchar_t** argv) {
  sonvarro::platform::CatchInterrupt();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(sonvarro::platform::windows::Utf8(argv[i]));
  const sonvarro::ConvertCommandPlaces places{
      sonvarro::platform::WithTrailingSeparator(sonvarro::platform::ExecutableFolder()),
      sonvarro::platform::ExecutablePath().ValueOr({})};
  return sonvarro::RunConvertCommand(args, places, std::cin, std::cout, std::cerr,
                                     sonvarro::platform::StandardErrorIsTerminal());
}
