#include "services/TextFormats.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace sonvarro {

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string TrimBlanksAndControls(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlankOrControl(text[first])) ++first;
  while (last > first && IsBlankOrControl(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// The characters TextToNumber reads: digits and the first ".", "+" and "-".
std::string KeepNumberCharacters(const std::string& text) {
  std::string kept;
  bool point = false, plus = false, minus = false;
  for (char c : text) {
    if (IsDigit(c)) {
      kept += c;
    } else if (c == '.' && !point) {
      point = true;
      kept += c;
    } else if (c == '+' && !plus) {
      plus = true;
      kept += c;
    } else if (c == '-' && !minus) {
      minus = true;
      kept += c;
    }
  }
  return kept;
}

[[noreturn]] void FailConversion(const std::string& text) {
  throw ConversionError("'" + text + "' is not a valid floating point value");
}

}  // namespace

std::vector<std::string> SplitText(const std::string& text, char separator) {
  std::vector<std::string> items;
  size_t start = 0;
  for (size_t found = text.find(separator); found != std::string::npos; found = text.find(separator, start)) {
    items.push_back(text.substr(start, found - start));
    start = found + 1;
  }
  if (start < text.size()) items.push_back(text.substr(start));
  return items;
}

void SplitNonEmpty(const std::string& text, char separator, std::vector<std::string>& list) {
  list.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    if (end > start) list.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

double TextToNumber(const std::string& text) {
  const std::string kept = KeepNumberCharacters(TrimBlanksAndControls(text));
  if (kept.size() < 2) {
    if (kept.empty() || kept == "+" || kept == "-") return 0;
    if (IsDigit(kept[0])) return kept[0] - '0';
    FailConversion(kept);
  }

  // A sign only counts in front; later ones are dropped.
  std::string number(1, kept[0]);
  for (size_t i = 1; i < kept.size(); ++i) {
    if (kept[i] != '+' && kept[i] != '-') number += kept[i];
  }

  bool negative = false;
  size_t digitsStart = 0;
  if (number[0] == '+' || number[0] == '-') {
    negative = number[0] == '-';
    digitsStart = 1;
  }
  const char* first = number.data() + digitsStart;
  const char* last = number.data() + number.size();
  bool hasDigit = false;
  for (const char* p = first; p != last; ++p) hasDigit = hasDigit || IsDigit(*p);
  if (!hasDigit) FailConversion(number);

  double value = 0;
  auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
  if (error != std::errc() || end != last) FailConversion(number);
  return negative ? -value : value;
}

std::string ZeroPad(int64_t value, int64_t divisor, int width) {
  if (divisor == 0) throw std::invalid_argument("ZeroPad: division by zero");
  std::string digits = std::to_string(value / divisor);
  if (static_cast<int>(digits.size()) < width) {
    digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  }
  return digits;
}

// Works on seconds rather than milliseconds so that no value can overflow;
// the texts are the same.
std::string TimeText(int64_t seconds) {
  std::string text;
  if (seconds < 3600) {
    text = "00:";
  } else {
    text = ZeroPad(seconds / 3600, 1, 2) + ":";
    seconds %= 3600;
  }
  if (seconds < 60) {
    text += "00:";
  } else {
    text += ZeroPad(seconds, 60, 2) + ":";
    seconds %= 60;
  }
  text += seconds < 1 ? std::string("00") : ZeroPad(seconds, 1, 2);
  return text;
}

std::string SizeText(int64_t bytes) {
  constexpr int64_t kGigabyte = int64_t{1} << 30;
  if (bytes < 0) bytes = 0;

  double value = static_cast<double>(bytes);
  const char* unit = " B";
  if (bytes < kGigabyte) {
    static const char* const kLargerUnits[] = {" KB", " MB", " GB"};
    for (const char* larger : kLargerUnits) {
      if (value >= 1024) {
        value /= 1024;
        unit = larger;
      }
    }
  } else {
    value = value / 1024 / 1024 / 1024;
    unit = " GB";
  }

  // Two decimals, cut toward zero: 1048575 bytes stay below 1024 KB.
  value = std::trunc(value * 100) / 100;
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return std::string(buffer, result.ptr) + unit;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

}  // namespace sonvarro
