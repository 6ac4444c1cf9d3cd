#pragma once

#include "sourcelist/PreviewPlayer.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro {

// The range checks after an edit posted to the grid (`dxTreeSourceFileInfoEdited`),
// for every selected row in list order and for the edited row (a Ctrl+click
// can leave it unselected), each check on the values the one before left:
//   1. an empty Start Time becomes "00:00:00", an empty End Time the Duration;
//   2. a Start Time at or beyond the Duration becomes the Duration;
//   3. an End Time at or before the Start Time becomes the Start Time;
//   4. with the timeline placed once and a file open in the preview, the
//      preview moves to the Start Time (a failed seek is let go);
//   5. an End Time at or beyond the Duration becomes the Duration;
//   6. Cut Time becomes End Time minus Start Time.
// A cell that does not read as a time counts as empty. A row whose Duration
// does not read as a time is left alone.
void CheckTrimRanges(ISourceGrid& grid, int editedRow, bool timelineReady, IPreviewPlayer& preview);

}  // namespace sonvarro
