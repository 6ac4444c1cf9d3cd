#include <gtest/gtest.h>

#include <QCoreApplication>
#include <string>
#include <vector>

#include "ui/SourceGrid.h"

namespace sonvarro {
namespace {

TEST(SourceGridColumns, CaptionsAlignmentAndWhatTheUserEdits) {
  SourceGrid grid;
  SourceListModel& model = grid.Model();
  grid.AppendRow({kCheckedText, "/music/a.mp3", "1 MB", "00:01:00", "00:00:00", "00:01:00", "00:01:00"});
  ASSERT_EQ(model.columnCount(), kSourceColumnCount);

  std::vector<std::string> captions;
  for (int c = 0; c < kSourceColumnCount; ++c)
    captions.push_back(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().toStdString());
  EXPECT_EQ(captions,
            (std::vector<std::string>{"", "File Name", "File Size", "Duration", "Start Time", "End Time", "Cut Time"}));

  EXPECT_TRUE(model.flags(model.index(0, kColCheck)) & Qt::ItemIsUserCheckable);
  for (int c = kColFileName; c < kSourceColumnCount; ++c) {
    const bool editable = model.flags(model.index(0, c)) & Qt::ItemIsEditable;
    EXPECT_EQ(editable, c == kColStartTime || c == kColEndTime) << "column " << c;
    const int alignment = model.data(model.index(0, c), Qt::TextAlignmentRole).toInt();
    EXPECT_EQ(alignment, int(Qt::AlignLeft | Qt::AlignVCenter)) << "column " << c;
  }
}

// The design widths: check 16, File Name 68, every other column 28.
TEST(SourceGridColumns, ShareTheGridsWidthInTheirDesignProportions) {
  SourceGrid grid;
  grid.resize(900, 200);
  grid.show();
  QCoreApplication::processEvents();

  const int viewport = grid.viewport()->width();
  int sum = 0;
  for (int c = 0; c < kSourceColumnCount; ++c) sum += grid.columnWidth(c);
  EXPECT_EQ(sum, viewport) << "the columns fill the grid, no more";
  for (int c = kColDuration; c < kSourceColumnCount; ++c)
    EXPECT_EQ(grid.columnWidth(c), grid.columnWidth(kColFileSize));
  // 68 against 28: the file name takes a little less than two and a half
  // times the width of a time column.
  const double ratio = double(grid.columnWidth(kColFileName)) / grid.columnWidth(kColFileSize);
  EXPECT_NEAR(ratio, 68.0 / 28.0, 0.1);
  EXPECT_LT(grid.columnWidth(kColCheck), grid.columnWidth(kColFileSize));
}

}  // namespace
}  // namespace sonvarro
