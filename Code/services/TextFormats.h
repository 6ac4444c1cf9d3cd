#pragma once

// The system's own small text formats: "|"-, ":"- and "="-joined texts, loosely
// formed numbers, durations as hh:mm:ss and file sizes with a unit.
// Numbers are always read and written with "." as the decimal separator,
// whatever the process locale says.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sonvarro {

// Raised by TextToNumber when the text it would read holds no digit.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Cuts the text at every separator. Empty items between separators are kept,
// a trailing separator adds no empty item, an empty text gives an empty list.
// Items are not trimmed.
std::vector<std::string> SplitText(const std::string& text, char separator);

// Clears the list and fills it with the non-empty pieces of the text cut at
// the separator ("1..2." gives "1", "2").
void SplitNonEmpty(const std::string& text, char separator, std::vector<std::string>& list);

// Reads a number out of loosely formed text: keeps the digits and the first
// ".", "+" and "-", drops everything else (" 12.34 bitrate" gives 12.34,
// "12-3" gives 123, "abc" gives 0). Throws ConversionError when the kept text
// is not empty, not a lone sign, and holds no digit (".", "-.", "+-").
double TextToNumber(const std::string& text);

// Whole seconds as hh:mm:ss, each part at least two digits; hours are not
// limited (100:00:00). Negative values give "00:00:00".
std::string TimeText(int64_t seconds);

// Decimal text of value / divisor (integer division, toward zero), padded on
// the left with "0" to width characters; longer texts are not cut.
// Throws std::invalid_argument for a zero divisor.
std::string ZeroPad(int64_t value, int64_t divisor, int width);

// Equal once the letters a-z are upper-cased; every other byte, non-ASCII
// letters included, must be the same. Program and file names are compared so.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

// A byte count as number, blank, unit ("1.5 KB", "1023.99 MB", "4.65 GB"):
// at most two decimals, cut toward zero, never rounded up.
std::string SizeText(int64_t bytes);

}  // namespace sonvarro
