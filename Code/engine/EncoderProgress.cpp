#include "engine/EncoderProgress.h"

#include <climits>
#include <cmath>
#include <vector>

#include "services/TextFormats.h"

namespace sonvarro {
namespace {

constexpr const char* kUnknownTime = "10000000000";

}  // namespace

std::optional<int> EncoderSeconds(const std::string& chunk) {
  if (chunk.empty()) return std::nullopt;
  const std::vector<std::string> pieces = SplitText(chunk, '=');
  if (pieces.size() < 4) return std::nullopt;
  const std::vector<std::string> parts = SplitText(pieces[2], '.');
  if (parts.empty() || parts[0] == kUnknownTime) return std::nullopt;
  double seconds = 0;
  try {
    seconds = std::trunc(TextToNumber(parts[0]));
  } catch (const ConversionError&) {
    return std::nullopt;  // such as "+-": the bar keeps its place
  }
  if (seconds > INT_MAX) return INT_MAX;
  if (seconds < INT_MIN) return INT_MIN;
  return static_cast<int>(seconds);
}

std::string JobCounterText(int convertedCount, int checkedCount) {
  return "Current: " + std::to_string(static_cast<long long>(convertedCount) + 1) +
         " , Total: " + std::to_string(checkedCount) + ".";
}

std::optional<int> JobBarPosition(int fileBarPosition, int fileBarMaximum, int convertedCount) {
  const long long divisor = static_cast<long long>(fileBarMaximum) + 1;
  if (divisor == 0) return std::nullopt;
  const long long position =
      static_cast<long long>(fileBarPosition) * 100 / divisor + static_cast<long long>(convertedCount) * 100;
  if (position > INT_MAX) return INT_MAX;
  if (position < INT_MIN) return INT_MIN;
  return static_cast<int>(position);
}

}  // namespace sonvarro
