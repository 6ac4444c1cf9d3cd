#pragma once

// What a program run from a terminal needs of it: whether a stream is a
// terminal, and Ctrl+C caught instead of ending the program at once.

namespace sonvarro::platform {

// Whether standard error is a terminal (not a file or a pipe).
bool StandardErrorIsTerminal();

// From now on an interrupt (SIGINT, Ctrl+C) ends nothing by itself: it is
// only remembered, so that the program can stop its children and clean up
// before it ends. A second interrupt while the first is handled changes
// nothing.
void CatchInterrupt();

// Whether an interrupt came since CatchInterrupt.
bool InterruptRequested();

}  // namespace sonvarro::platform
