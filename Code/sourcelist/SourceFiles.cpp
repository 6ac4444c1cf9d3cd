#include "sourcelist/SourceFiles.h"

#include <algorithm>
#include <cctype>

#include "services/platform/Desktop.h"
#include "services/platform/Paths.h"

namespace sonvarro {

namespace {

std::vector<FileFilter> MakeSourceFileFilters() {
  std::string supported;
  for (std::string_view extension : AcceptedExtensions) supported.append("*").append(extension).append(";");
  return {
      {"Supported Files", supported},
      // The caption names both; the pattern has to match both too.
      {"3GP, 3G2 Files (*.3gp,*.3g2)", "*.3gp;*.3g2"},
      {"AVI Files (*.avi)", "*.avi"},
      {"ASF Files (*.asf)", "*.asf"},
      {"MOV Files (*.mov)", "*.mov"},
      {"FLV ,SWF Flash Video (*.flv,swf)", "*.flv;*.swf"},
      {"MP4 File (*.mp4,*.m4v)", "*.mp4;*.m4v"},
      {"MPEG Files (*.mpeg,*.mpg)", "*.mpeg;*.mpg"},
      {"RM, RMVB (*.rm,*.rmvb)", "*.rm;*.rmvb"},
      {"VOB Video Files (*.vob)", "*.vob"},
      {"WMV Video Files (*.wmv)", "*.wmv"},
      {"Matroska, WebM Video Files (*.mkv,*.webm,*.ogv)", "*.mkv;*.webm;*.ogv"},
      {"MPEG Transport Streams (*.ts,*.m2ts)", "*.ts;*.m2ts"},
      {"AAC Audio Files (*.aac)", "*.aac"},
      {"AC3 Audio Files (*.ac3)", "*.ac3"},
      {"M4A Audio Files (*.m4a)", "*.m4a"},
      {"M4B Audio Books (*.m4b)", "*.m4b"},
      {"MP2, MP3 Audio Files (*.mp2, mp3)", "*.mp2;*.mp3;"},
      {"OGG Audio Files (*.ogg)", "*.ogg"},
      {"Opus, OGA Audio Files (*.opus,*.oga)", "*.opus;*.oga"},
      {"FLAC Audio Files (*.flac)", "*.flac"},
      {"AIFF Audio Files (*.aiff,*.aif,*.aifc)", "*.aiff;*.aif;*.aifc"},
      {"Matroska Audio Files (*.mka)", "*.mka"},
      {"WavPack, APE, CAF Audio Files (*.wv,*.ape,*.caf)", "*.wv;*.ape;*.caf"},
      {"TTA Audio Files (*.tta)", "*.tta"},
      {"WAV Audio Files (*.wav)", "*.wav"},
      {"WMA Audio Files (*.wma)", "*.wma"},
      {"AMR Audio files(*.amr)", "*.amr"},
  };
}

}  // namespace

const std::vector<FileFilter>& SourceFileFilters() {
  static const std::vector<FileFilter> filters = MakeSourceFileFilters();
  return filters;
}

std::string LowercaseExtension(const std::string& path) {
  std::string extension = platform::ExtensionPart(path);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

bool IsAcceptedExtension(const std::string& lowercaseExtension) {
  return std::find(AcceptedExtensions.begin(), AcceptedExtensions.end(), lowercaseExtension) !=
         AcceptedExtensions.end();
}

std::vector<std::string> SelectSourceFiles(const OpenFilesDialog& dialog, bool removeDuplicates,
                                           const std::string& initialDir) {
  std::vector<std::string> chosen = dialog(initialDir);
  return removeDuplicates ? RemoveDuplicateNames(chosen) : chosen;
}

std::vector<std::string> RemoveDuplicateNames(const std::vector<std::string>& paths) {
  std::vector<std::string> unique;
  for (const std::string& path : paths) {
    if (std::find(unique.begin(), unique.end(), path) == unique.end()) unique.push_back(path);
  }
  return unique;
}

namespace {

bool AnyRowSelected(const ISourceGrid& grid) {
  for (int row = 0; row < grid.RowCount(); ++row) {
    if (grid.IsSelected(row)) return true;
  }
  return false;
}

// The selected rows as runs of neighbours, the lowest run first, so that
// deleting each in turn leaves the rows of the next where they were.
struct RowRun {
  int first;
  int count;
};
std::vector<RowRun> SelectedRunsFromTheBottom(const ISourceGrid& grid) {
  std::vector<RowRun> runs;
  for (int row = grid.RowCount() - 1; row >= 0; --row) {
    if (!grid.IsSelected(row)) continue;
    if (!runs.empty() && runs.back().first == row + 1) {
      --runs.back().first;
      ++runs.back().count;
    } else {
      runs.push_back({row, 1});
    }
  }
  return runs;
}

}  // namespace

void RemoveSelectedFiles(ISourceGrid& grid, platform::IDesktop& desktop) {
  if (!AnyRowSelected(grid)) return;
  desktop.ProcessPendingEvents();
  int candidate = grid.FocusedRow() > 0 ? grid.FocusedRow() - 1 : -1;
  grid.BeginUpdate();
  struct Finish {
    ISourceGrid& grid;
    int& candidate;
    ~Finish() {
      if (candidate >= 0 && candidate < grid.RowCount()) {
        grid.SetFocusedRow(candidate);
        grid.SetSelected(candidate, true);
      }
      grid.EndUpdate();
    }
  } finish{grid, candidate};
  // The selection is read once and each run of neighbours deleted at once:
  // asking for the first selected row before every single deletion costs
  // the square of the list's length, seconds for thousands of rows.
  for (const RowRun& run : SelectedRunsFromTheBottom(grid)) {
    if (candidate >= run.first && candidate < run.first + run.count)
      candidate = -1;
    else if (candidate >= run.first + run.count)
      candidate -= run.count;  // the candidate moves up with the rows below the gap
    grid.DeleteRows(run.first, run.count);
  }
}

bool ClearSourceFiles(ISourceGrid& grid) {
  try {
    grid.Clear();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace sonvarro
