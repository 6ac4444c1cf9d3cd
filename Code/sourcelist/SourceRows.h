#pragma once

// Reading rows of the source list by path, as the command line and the trim
// timeline do: paths compare with the letters a-z taken without regard to
// case, and the last matching row wins.

#include <cstdint>
#include <string>

#include "sourcelist/SourceItem.h"

namespace sonvarro {

// The last row whose path matches, -1 when none does.
int LastRowWithPath(const ISourceGrid& rows, const std::string& path);

// "hh:mm:ss" (each part decimal digits, an optional "+") in seconds; anything
// else counts as 0.
int64_t TimeTextSeconds(const std::string& text);

// End Time minus Start Time, in seconds, of the last row holding path; 0
// when none does.
int32_t GetTrimLength(const ISourceGrid& rows, const std::string& path);

}  // namespace sonvarro
