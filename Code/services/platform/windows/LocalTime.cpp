#include "services/platform/LocalTime.h"

namespace sonvarro::platform {

std::tm LocalTimeNow() {
  const std::time_t clock = std::time(nullptr);
  std::tm now{};
  localtime_s(&now, &clock);
  return now;
}

}  // namespace sonvarro::platform
