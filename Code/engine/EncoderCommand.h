#pragma once

#include <string>
#include <vector>

namespace sonvarro {

// One encoder run: the command line as text (what the log shows) and the same
// line as an argument vector, which is what the child process receives. The
// text is never handed to a shell or split again, so paths with blanks,
// quotes, "$" or non-ASCII letters reach the encoder intact.
struct EncoderCommand {
  std::string text;
  std::vector<std::string> args;  // args[0] is the encoder's path
  std::string output;             // the file the encoder writes (also its last argument)
};

}  // namespace sonvarro
