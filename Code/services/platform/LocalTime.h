#pragma once

#include <ctime>

namespace sonvarro::platform {

// The clock's current time, broken down in the local time zone.
std::tm LocalTimeNow();

}  // namespace sonvarro::platform
