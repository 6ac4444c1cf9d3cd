#pragma once

#include <Qt>
#include <array>

#include "sourcerows/SourceItem.h"

namespace sonvarro {

// How the grid shows one column of the source list. The constructor leaves
// nothing to a default, so a column too few in kSourceColumns does not
// compile.
struct SourceColumnLook {
  constexpr SourceColumnLook(const char* title, int designWidth, Qt::Alignment alignment, bool userEdits)
      : title(title), designWidth(designWidth), alignment(alignment), userEdits(userEdits) {}
  const char* title;        // the header's text
  int designWidth;          // the columns share the grid's width in these proportions
  Qt::Alignment alignment;  // of the cell's text
  bool userEdits;           // changed in place: the check box and the two trim times
};

inline constexpr Qt::Alignment kCellTextAlignment = Qt::AlignLeft | Qt::AlignVCenter;

// Indexed by SourceColumn.
inline constexpr std::array<SourceColumnLook, kSourceColumnCount> kSourceColumns = {{
    {"", 16, kCellTextAlignment, true},  // the check box
    {"File Name", 68, kCellTextAlignment, false},
    {"File Size", 28, kCellTextAlignment, false},
    {"Duration", 28, kCellTextAlignment, false},
    {"Start Time", 28, kCellTextAlignment, true},
    {"End Time", 28, kCellTextAlignment, true},
    {"Cut Time", 28, kCellTextAlignment, false},
}};

}  // namespace sonvarro
