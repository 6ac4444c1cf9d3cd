#pragma once

#include <optional>
#include <string>

namespace sonvarro {

// The whole seconds of the time field of an encoder status chunk such as
// "size=  1440kB time=95.21 bitrate= 123.9kbits/s": the third "="-piece up
// to its first ".", read as a number and cut toward zero. None when the
// chunk has fewer than four "="-pieces, or the time reads "10000000000" (the
// encoder's "unknown"), or the text cannot be read as a number at all.
std::optional<int> EncoderSeconds(const std::string& chunk);

// The text of the job counter after a refresh: "Current: 2 , Total: 3.".
std::string JobCounterText(int convertedCount, int checkedCount);

// Job bar position: the current file's share of its 100 steps, lagging by
// one refresh, plus 100 steps per finished file. None when the file bar's
// maximum is -1 (no share can be computed).
std::optional<int> JobBarPosition(int fileBarPosition, int fileBarMaximum, int convertedCount);

}  // namespace sonvarro
