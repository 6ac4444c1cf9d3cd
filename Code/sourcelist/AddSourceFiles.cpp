#include "sourcelist/AddSourceFiles.h"

#include <unordered_set>

#include "services/TextFormats.h"
#include "services/platform/Files.h"
#include "sourcelist/Probe.h"
#include "sourcelist/SourceFiles.h"

namespace sonvarro {
namespace {

constexpr const char* kZeroTime = "00:00:00";

// The paths in the grid, read once: looking each new path up row by row
// costs the product of the two lists' lengths, minutes for ten thousand.
std::unordered_set<std::string> PathsIn(const ISourceGrid& grid) {
  std::unordered_set<std::string> paths;
  paths.reserve(static_cast<size_t>(grid.RowCount()));
  for (int row = 0; row < grid.RowCount(); ++row) paths.insert(grid.Cell(row, kColFileName));
  return paths;
}

}  // namespace

void AddSourceFiles(ISourceGrid& grid, const std::vector<std::string>& paths, const AddSourceFilesHooks& hooks) {
  const std::unique_ptr<MediaGraph> probeGraph = hooks.makeProbeGraph();
  std::unordered_set<std::string> inGrid = PathsIn(grid);
  for (const std::string& path : paths) {
    const std::string extension = LowercaseExtension(path);
    if (inGrid.count(path) != 0 || !IsAcceptedExtension(extension)) continue;
    // A thousand files take seconds: the windows show each row as it comes.
    hooks.letWindowsPaint();
    // A pipe or a device under a media name is never a file to convert, not
    // even an AMR file without a duration: reading it could wait forever.
    if (!platform::IsRegularFile(path)) {
      hooks.showFileReadError(path);
      continue;
    }

    const std::string duration = TimeText(ProbeDuration(path, *probeGraph));
    if (duration == kZeroTime && extension != kDurationlessExtension) {
      hooks.showFileReadError(path);
      continue;
    }
    const platform::Result<int64_t> size = platform::FileSize(path);
    if (!size) {
      // Gone or locked since it was probed: the rest of the list still comes in.
      hooks.showFileReadError(path);
      continue;
    }
    grid.AppendRow({kCheckedText, path, SizeText(size.Value()), duration, kZeroTime, duration, duration});
    inGrid.insert(path);
  }
  if (grid.RowCount() > 0) {
    grid.SetSelected(0, true);
    hooks.syncTimelineToSelection();
  }
}

}  // namespace sonvarro
