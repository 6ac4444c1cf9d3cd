#include "services/StrFunc.h"

namespace sonvarro {

std::string TStrFunc::LastPart(const std::string& text, char separator) {
  const auto position = text.rfind(separator);
  return position == std::string::npos ? text : text.substr(position + 1);
}

}  // namespace sonvarro
