#pragma once

// How files enter and leave the source list: the accepted extensions, the
// open dialog's filters and choice, and the remove and clear operations on
// the grid. Adding (with probing) is in AddSourceFiles.h.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/Controls.h"
#include "services/platform/Desktop.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro {

// Compared with the lowercased extension including its dot. The first 25
// are the program's first list; the rest are the lossless, open and
// container formats people keep their music and videos in today.
inline constexpr std::array<std::string_view, 41> AcceptedExtensions = {
    ".3gp", ".mp4", ".m4v",  ".mpeg", ".3g2",  ".mpg",  ".avi", ".asf",  ".mov",  ".wmv", ".flv",
    ".swf", ".rm",  ".rmvb", ".vob",  ".aac",  ".ac3",  ".m4a", ".mp2",  ".mp3",  ".ogg", ".tta",
    ".wav", ".wma", ".amr",  ".flac", ".opus", ".aiff", ".aif", ".aifc", ".webm", ".mkv", ".mka",
    ".m4b", ".oga", ".ogv",  ".wv",   ".ape",  ".caf",  ".ts",  ".m2ts"};

// The extension whose unreadable files are still added, without a duration.
inline constexpr std::string_view kDurationlessExtension = ".amr";

// One entry of the open dialog's filter list: its description and its
// patterns joined by ";".
struct FileFilter {
  std::string description;
  std::string patterns;
};

// The open dialog's filter list, in order; the first entry, every accepted
// extension, is the default.
const std::vector<FileFilter>& SourceFileFilters();

// The part of the file name from its last "." on, lowercased; empty when the
// name has no ".".
std::string LowercaseExtension(const std::string& path);
bool IsAcceptedExtension(const std::string& lowercaseExtension);

// The open-files dialog: starts in initialDir and returns the chosen paths
// in its order, or none when the user cancels.
using OpenFilesDialog = std::function<std::vector<std::string>(const std::string& initialDir)>;

// The dialog's choice, with repeated paths dropped when removeDuplicates.
std::vector<std::string> SelectSourceFiles(const OpenFilesDialog& dialog, bool removeDuplicates,
                                           const std::string& initialDir);

// The paths in order with every exact (case-sensitive) repetition dropped.
std::vector<std::string> RemoveDuplicateNames(const std::vector<std::string>& paths);

// Deletes the selected rows inside one update bracket. When the row above
// the focused row survives, it then takes the focus and the selection;
// otherwise no row keeps the focus. No selection: nothing happens.
void RemoveSelectedFiles(ISourceGrid& grid, platform::IDesktop& desktop);

// Deletes every row; false when the grid refused.
bool ClearSourceFiles(ISourceGrid& grid);

}  // namespace sonvarro
