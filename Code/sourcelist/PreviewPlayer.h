#pragma once

#include <cstdint>
#include <string>

namespace sonvarro {

// The preview player as trimming sees it: whether its graph `FilterGraph`
// has a file open, the seek of that graph, the path it holds and its stop.
class IPreviewPlayer {
 public:
  virtual ~IPreviewPlayer() = default;
  // FilterGraph is `Active`: a file is open in the preview.
  virtual bool PreviewActive() const = 0;
  // FilterGraph's `SeekTo`; may throw what the graph throws.
  virtual void SeekPreview(int64_t positionMs) = 0;
  // `LoadedFile`: the path open in the preview, empty when none.
  virtual std::string LoadedFile() const = 0;
  virtual void StopPreview() = 0;
};

}  // namespace sonvarro
