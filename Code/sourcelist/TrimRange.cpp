#include "sourcelist/TrimRange.h"

#include <exception>
#include <optional>

#include "services/TextFormats.h"
#include "sourcerows/SourceRows.h"

namespace sonvarro {
namespace {

constexpr const char* kZeroTime = "00:00:00";

void CheckRow(ISourceGrid& grid, int row, bool timelineReady, IPreviewPlayer& preview) {
  const std::string durationText = grid.Cell(row, kColDuration);
  const std::optional<int64_t> duration = ReadTimeText(durationText);
  if (!duration) return;
  if (!ReadTimeText(grid.Cell(row, kColStartTime))) grid.SetCell(row, kColStartTime, kZeroTime);
  if (!ReadTimeText(grid.Cell(row, kColEndTime))) grid.SetCell(row, kColEndTime, durationText);
  int64_t start = *ReadTimeText(grid.Cell(row, kColStartTime));
  int64_t end = *ReadTimeText(grid.Cell(row, kColEndTime));

  if (start >= *duration) {
    grid.SetCell(row, kColStartTime, durationText);
    start = *duration;
  }
  if (start >= end) {
    grid.SetCell(row, kColEndTime, grid.Cell(row, kColStartTime));
    end = start;
  }
  if (timelineReady && preview.PreviewActive()) {
    try {
      preview.SeekPreview(start * 1000);
    } catch (const std::exception&) {
      // The preview stays where it was; the row is still checked to the end.
    }
  }
  if (end >= *duration) {
    grid.SetCell(row, kColEndTime, durationText);
    end = *duration;
  }
  grid.SetCell(row, kColCutTime, TimeText(end - start));
}

}  // namespace

void CheckTrimRanges(ISourceGrid& grid, int editedRow, bool timelineReady, IPreviewPlayer& preview) {
  for (int row = 0; row < grid.RowCount(); ++row) {
    if (grid.IsSelected(row) || row == editedRow) CheckRow(grid, row, timelineReady, preview);
  }
}

}  // namespace sonvarro
