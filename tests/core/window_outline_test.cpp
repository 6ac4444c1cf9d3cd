#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/WindowOutline.h"

namespace sonvarro {
namespace {

using Runs = std::vector<OutlineRun>;

// A picture drawn in letters: '.' is the transparent colour (the one at the
// bottom left), the other letters are colours of their own.
Picture Drawn(const std::vector<std::string>& rows) {
  Picture picture;
  picture.height = static_cast<int>(rows.size());
  picture.width = static_cast<int>(rows.front().size());
  for (const std::string& row : rows) {
    for (char c : row) {
      const uint8_t v = c == '.' ? 0x20 : static_cast<uint8_t>(c);
      picture.rgb.insert(picture.rgb.end(), {0x10, v, 0x30});
    }
  }
  return picture;
}

TEST(OutlineRuns, CutsTheRunsOfEveryRowThatDifferFromTheBottomLeftColour) {
  const Picture picture = Drawn({
      "..ab..",  // two colours in a row are one run
      "a..a.a",  // the run of the last pixel alone ends where it starts
      "......",  // nothing
      "aaaaaa",  // the whole row: open at its end, so the last column is left out
      ".bbbb.",  // closed by the last pixel: up to it
      ".a.b.c",
  });
  EXPECT_EQ(OutlineRuns(picture), (Runs{{2, 0, 2}, {0, 1, 1}, {3, 1, 1}, {0, 3, 5}, {1, 4, 4}, {1, 5, 1}, {3, 5, 1}}));
}

TEST(OutlineRuns, TheTransparentColourIsTheOneAtTheBottomLeft) {
  // Here the bottom-left pixel is 'a': the dots are the outline now.
  const Picture picture = Drawn({
      "a..a",
      "aaaa",
      "a.aa",
  });
  EXPECT_EQ(OutlineRuns(picture), (Runs{{1, 0, 2}, {1, 2, 1}}));
  // A colour that differs only in one channel is another colour.
  Picture nearly = Drawn({"...", "..."});
  nearly.rgb[2] ^= 1;
  EXPECT_EQ(OutlineRuns(nearly), (Runs{{0, 0, 1}}));
  // The same pixel in the last column: open at the row's end, so empty.
  nearly = Drawn({"..", ".."});
  nearly.rgb[5] ^= 1;
  EXPECT_EQ(OutlineRuns(nearly), (Runs{}));
}

TEST(OutlineRuns, AnEmptyOrShortPictureHasNoOutline) {
  EXPECT_TRUE(OutlineRuns(Picture{}).empty());
  Picture cut = Drawn({"a.a", "..."});
  cut.rgb.resize(cut.rgb.size() - 1);
  EXPECT_TRUE(OutlineRuns(cut).empty());
}

}  // namespace
}  // namespace sonvarro
