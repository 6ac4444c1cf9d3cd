#include "services/WindowOutline.h"

#include <cstddef>
#include <cstdint>

namespace sonvarro {
namespace {

uint32_t ColourAt(const Picture& picture, int x, int y) {
  const size_t at = (static_cast<size_t>(y) * picture.width + x) * 3;
  return (uint32_t{picture.rgb[at]} << 16) | (uint32_t{picture.rgb[at + 1]} << 8) | picture.rgb[at + 2];
}

}  // namespace

std::vector<OutlineRun> OutlineRuns(const Picture& picture) {
  std::vector<OutlineRun> runs;
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgb.size() < static_cast<size_t>(picture.width) * picture.height * 3) {
    return runs;
  }
  const uint32_t transparent = ColourAt(picture, 0, picture.height - 1);
  for (int y = 0; y < picture.height; ++y) {
    int start = -1;
    for (int x = 0; x < picture.width; ++x) {
      const bool opaque = ColourAt(picture, x, y) != transparent;
      if (opaque && start < 0) {
        start = x;
      } else if (!opaque && start >= 0) {
        runs.push_back({start, y, x - start});
        start = -1;
      }
    }
    // Open at the row's end: up to, not including, the last column.
    if (start >= 0 && picture.width - 1 > start) runs.push_back({start, y, picture.width - 1 - start});
  }
  return runs;
}

}  // namespace sonvarro
