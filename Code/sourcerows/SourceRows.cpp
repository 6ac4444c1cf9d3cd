#include "sourcerows/SourceRows.h"

#include <charconv>
#include <vector>

#include "services/TextFormats.h"

namespace sonvarro {
namespace {

bool ReadDecimal(const std::string& text, int64_t& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  return first != last && error == std::errc() && end == last;
}

bool AllDigits(const std::string& text) {
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  return !text.empty();
}

// More hour digits than this are no time of this system and would overflow.
constexpr size_t kMaxHourDigits = 9;

}  // namespace

int LastRowWithPath(const ISourceGrid& rows, const std::string& path) {
  int found = -1;
  for (int row = 0; row < rows.RowCount(); ++row)
    if (rows.Cell(row, kColFileName) == path) found = row;
  return found;
}

int64_t TimeTextSeconds(const std::string& text) {
  const std::vector<std::string> parts = SplitText(text, ':');
  int64_t hours = 0, minutes = 0, seconds = 0;
  if (parts.size() != 3 || !ReadDecimal(parts[0], hours) || !ReadDecimal(parts[1], minutes) ||
      !ReadDecimal(parts[2], seconds))
    return 0;
  return hours * 3600 + minutes * 60 + seconds;
}

std::optional<int64_t> ReadTimeText(const std::string& text) {
  const std::vector<std::string> parts = SplitText(text, ':');
  if (parts.size() != 3 || text.back() == ':') return std::nullopt;
  const std::string& hours = parts[0];
  const std::string& minutes = parts[1];
  const std::string& seconds = parts[2];
  if (hours.size() < 2 || hours.size() > kMaxHourDigits || minutes.size() != 2 || seconds.size() != 2 ||
      !AllDigits(hours) || !AllDigits(minutes) || !AllDigits(seconds))
    return std::nullopt;
  const int64_t h = std::stoll(hours), m = std::stoll(minutes), s = std::stoll(seconds);
  if (m > 59 || s > 59) return std::nullopt;
  return h * 3600 + m * 60 + s;
}

int32_t GetTrimLength(const ISourceGrid& rows, const std::string& path) {
  const int row = LastRowWithPath(rows, path);
  if (row < 0) return 0;
  return static_cast<int32_t>(TimeTextSeconds(rows.Cell(row, kColEndTime)) -
                              TimeTextSeconds(rows.Cell(row, kColStartTime)));
}

}  // namespace sonvarro
