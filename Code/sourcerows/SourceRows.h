#pragma once

// Reading rows of the source list by path, as the command line and the trim
// timeline do: paths compare with the letters a-z taken without regard to
// case, and the last matching row wins.

#include <cstdint>
#include <optional>
#include <string>

#include "sourcerows/SourceItem.h"

namespace sonvarro {

// The last row whose path is path, byte for byte, -1 when none does.
int LastRowWithPath(const ISourceGrid& rows, const std::string& path);

// "hh:mm:ss" (each part decimal digits, an optional "+") in seconds; anything
// else counts as 0.
int64_t TimeTextSeconds(const std::string& text);

// A trim cell's value in seconds when the cell holds a time as TimeText
// writes it: hours of at least two digits, then two digits each for minutes
// and seconds below 60, joined by ":". Anything else (blanks, signs, a
// missing part, a trailing option) reads as nothing.
std::optional<int64_t> ReadTimeText(const std::string& text);

// End Time minus Start Time, in seconds, of the last row holding path; 0
// when none does.
int32_t GetTrimLength(const ISourceGrid& rows, const std::string& path);

}  // namespace sonvarro
