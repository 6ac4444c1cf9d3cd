#include <csignal>
#include <string>
#include <vector>

#include "Conversion.h"

namespace {

void RequestStop(int) { sonvarro::evc::StopRequested().store(true); }

}  // namespace

int main(int argc, char** argv) {
  // A reader that went away must not kill us before the output is cleaned up.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGTERM, RequestStop);
  std::signal(SIGINT, RequestStop);
  std::signal(SIGHUP, RequestStop);
  std::vector<std::string> args(argv + 1, argv + argc);
  return sonvarro::evc::EvcMain(args, stdout, stderr);
}
