#pragma once

#include <array>
#include <string>

namespace sonvarro {

// One row of the source list: seven text cells, in display order.
enum SourceColumn : int {
  kColCheck = 0,      // "True" / "False"
  kColFileName = 1,   // full path as delivered by the dialog or the drop
  kColFileSize = 2,   // SizeText of the length in bytes
  kColDuration = 3,   // TimeText
  kColStartTime = 4,  // TimeText
  kColEndTime = 5,    // TimeText
  kColCutTime = 6,    // TimeText
};

inline constexpr int kSourceColumnCount = 7;
inline constexpr const char* kCheckedText = "True";
inline constexpr const char* kUncheckedText = "False";

using SourceItem = std::array<std::string, kSourceColumnCount>;

}  // namespace sonvarro
