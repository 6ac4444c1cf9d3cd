#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "player/MediaGraph.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro {

// What adding needs from around the list.
struct AddSourceFilesHooks {
  // Makes the private graph that probes durations for one call.
  std::function<std::unique_ptr<MediaGraph>()> makeProbeGraph;
  // Tells the user that the file at the path cannot be read ("Error Info");
  // returns when the user has confirmed.
  std::function<void(const std::string& path)> showFileReadError;
  // Brings the timeline in line with the grid's selection.
  std::function<void()> syncTimelineToSelection;
  // Lets the windows paint what changed, before each file is probed; the
  // user's input waits until the adding is done.
  std::function<void()> letWindowsPaint;
};

// Appends a row for every path that is not in the grid yet (exact,
// case-sensitive comparison) and has an accepted extension, in order: "True",
// the path, its size, its duration, "00:00:00", the duration, the duration.
// A file whose duration reads as "00:00:00" is reported and skipped, unless
// it is an ".amr" file, which is added as it is. A file whose size cannot be
// read any more (it vanished after probing) is reported the same way and
// skipped. Afterwards the first row joins the selection and the timeline is
// synced, when the grid has rows.
void AddSourceFiles(ISourceGrid& grid, const std::vector<std::string>& paths, const AddSourceFilesHooks& hooks);

}  // namespace sonvarro
