#pragma once

#include <functional>
#include <optional>
#include <string>

namespace sonvarro {

class TCommonLib;

// The folder picker: a file-system path, or nothing when the user cancels.
using FolderPicker = std::function<std::optional<std::string>()>;

inline constexpr const char* kInvalidPathMessage = "The path is invalid.";
inline constexpr const char* kReadOnlyPathMessage = "This is a read-only path.";

// Lets the user pick a new output folder. The result replaces `current` only
// when the picked folder exists and accepts a new subfolder; otherwise the
// user is told why (through common's message box) and `current` stays. The
// folder returned is created, silently, when it does not exist yet and can be
// made.
std::string SelectOutputFolder(TCommonLib& common, const std::string& current, const FolderPicker& pickFolder);

}  // namespace sonvarro
