#pragma once

// The outline of a skinned window, cut from its background picture.

#include <vector>

#include "services/Picture.h"

namespace sonvarro {

// One pixel high: the pixels [left, left + width) of row top.
struct OutlineRun {
  int left = 0;
  int top = 0;
  int width = 0;
  bool operator==(const OutlineRun& other) const {
    return left == other.left && top == other.top && width == other.width;
  }
};

// The runs whose union is the window's outline. The picture's bottom-left
// pixel gives its transparent colour; row by row from the top, every run of
// pixels of another colour is one rectangle, from its first pixel up to the
// first pixel of the transparent colour again. A run still open at the end of
// its row ends one pixel before the right edge, so the last column never
// belongs to the outline. An empty picture has no outline.
std::vector<OutlineRun> OutlineRuns(const Picture& picture);

}  // namespace sonvarro
