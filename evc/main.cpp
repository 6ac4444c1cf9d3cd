#include <csignal>
#include <string>
#include <vector>

#include "Conversion.h"

namespace {

void RequestStop(int) { sonvarro::evc::StopRequested().store(true); }

// Without SA_RESTART: a stop also ends a system call that is waiting, so
// the run never sits out a stop inside one.
void OnStop(int signal) {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(signal, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that went away must not kill us before the output is cleaned up.
  std::signal(SIGPIPE, SIG_IGN);
  OnStop(SIGTERM);
  OnStop(SIGINT);
  OnStop(SIGHUP);
  std::vector<std::string> args(argv + 1, argv + argc);
  return sonvarro::evc::EvcMain(args, stdout, stderr);
}
