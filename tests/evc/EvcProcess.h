#pragma once

#include <string>
#include <vector>

namespace sonvarro::test {

struct EvcRun {
  bool started = false;
  bool exited = false;  // ended by itself (not by a signal, not timed out)
  bool timedOut = false;
  bool killedFromOutside = false;  // SIGKILL not sent by RunEvc
  bool stopSent = false;           // SIGTERM, as asked by stopOnOutput
  int exitCode = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// The evc.exe under test: SONVARRO_EVC_EXE from the environment, else the
// one this build made.
std::string EvcPath();

// Runs evc.exe with `args` (an argument vector, no shell) and stdin on an
// empty pipe that is never written. Kills it after `timeoutSeconds`: a hang
// is a failure, not a wait. Sends it SIGTERM, as a stop does, once its
// standard output holds `stopOnOutput` (when not empty).
EvcRun RunEvc(const std::vector<std::string>& args, int timeoutSeconds = 120, const std::string& stopOnOutput = "");

// The lines of a text, split at "\n" ("\r" stays inside a line).
std::vector<std::string> Lines(const std::string& text);

}  // namespace sonvarro::test
