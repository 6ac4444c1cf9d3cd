#include "sourcelist/AddSourceFiles.h"

#include "services/TextFormats.h"
#include "services/platform/Files.h"
#include "sourcelist/Probe.h"
#include "sourcelist/SourceFiles.h"

namespace sonvarro {
namespace {

constexpr const char* kZeroTime = "00:00:00";

bool InGrid(const ISourceGrid& grid, const std::string& path) {
  for (int row = 0; row < grid.RowCount(); ++row) {
    if (grid.Cell(row, kColFileName) == path) return true;
  }
  return false;
}

}  // namespace

void AddSourceFiles(ISourceGrid& grid, const std::vector<std::string>& paths, const AddSourceFilesHooks& hooks) {
  const std::unique_ptr<MediaGraph> probeGraph = hooks.makeProbeGraph();
  for (const std::string& path : paths) {
    const std::string extension = LowercaseExtension(path);
    if (InGrid(grid, path) || !IsAcceptedExtension(extension)) continue;
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
  }
  if (grid.RowCount() > 0) {
    grid.SetSelected(0, true);
    hooks.syncTimelineToSelection();
  }
}

}  // namespace sonvarro
