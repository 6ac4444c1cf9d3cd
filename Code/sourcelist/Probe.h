#pragma once

#include <cstdint>
#include <string>

#include "player/MediaGraph.h"

namespace sonvarro {

// The duration of the media file at path in whole seconds (truncated), read
// through graph: Clear, activate, Render, DurationMs, deactivate. Whether the
// file rendered fully or only partly does not matter; any failure gives 0, so
// a file shorter than one second counts as unreadable.
int32_t ProbeDuration(const std::string& path, MediaGraph& graph);

// The length of the file at path in bytes. Throws std::system_error when the
// file cannot be opened for reading (missing, no permission, a folder).
int64_t ReadFileSize(const std::string& path);

}  // namespace sonvarro
