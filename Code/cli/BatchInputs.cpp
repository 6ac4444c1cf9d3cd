#include "cli/BatchInputs.h"

#include <memory>

#include "cli/ConvertRequest.h"
#include "player/ProbeGraph.h"
#include "services/platform/Folders.h"
#include "sourcelist/AddSourceFiles.h"
#include "sourcelist/SourceFiles.h"
#include "sourcelist/TrimRange.h"

namespace sonvarro {
namespace {

constexpr const char* kNotSupported = "not a supported file type";
constexpr const char* kCannotRead = "cannot be read";

// No file is ever open in a preview here.
class NoPreview : public IPreviewPlayer {
 public:
  bool PreviewActive() const override { return false; }
  void SeekPreview(int64_t) override {}
  std::string LoadedFile() const override { return {}; }
  void StopPreview() override {}
};

}  // namespace

std::vector<std::string> ExpandFileArguments(const std::vector<std::string>& arguments, std::istream& input) {
  std::vector<std::string> paths;
  const auto add = [&paths](const std::string& path) { paths.push_back(platform::AbsolutePath(path).ValueOr(path)); };
  for (const std::string& argument : arguments) {
    if (argument != kStandardInputArgument) {
      add(argument);
      continue;
    }
    for (std::string line; std::getline(input, line);) {
      // A list written on Windows ends its lines in CR LF.
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) add(line);
    }
  }
  return paths;
}

std::vector<SkippedInput> AddBatchInputs(PlainSourceGrid& grid, const std::vector<std::string>& paths,
                                         const std::optional<std::string>& start,
                                         const std::optional<std::string>& end) {
  std::vector<SkippedInput> skipped;
  std::vector<std::string> accepted;
  for (const std::string& path : paths) {
    if (IsAcceptedExtension(LowercaseExtension(path)))
      accepted.push_back(path);
    else
      skipped.push_back({path, kNotSupported});
  }
  AddSourceFiles(grid, accepted,
                 {[] { return std::make_unique<ProbeGraph>(); },
                  [&skipped](const std::string& path) {
                    skipped.push_back({path, kCannotRead});
                  },
                  // No timeline to sync and no window to paint.
                  [] {}, [] {}});
  NoPreview noPreview;
  for (int row = 0; row < grid.RowCount(); ++row) {
    if (start) grid.SetCell(row, kColStartTime, *start);
    if (end) grid.SetCell(row, kColEndTime, *end);
    CheckTrimRanges(grid, row, false, noPreview);
  }
  return skipped;
}

}  // namespace sonvarro
