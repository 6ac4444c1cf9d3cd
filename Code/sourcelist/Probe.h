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

}  // namespace sonvarro
