#pragma once

#include <string>

namespace sonvarro {

// String services.
class TStrFunc {
 public:
  // The text after the last `separator`: LastPart("a.b.c", '.') is "c",
  // LastPart("abc", '.') is "abc", LastPart("x_", '_') is "".
  static std::string LastPart(const std::string& text, char separator);
};

}  // namespace sonvarro
