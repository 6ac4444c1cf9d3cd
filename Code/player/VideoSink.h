#pragma once

#include <cstddef>

namespace sonvarro {

// One finished picture: width x height pixels of four bytes each, in memory
// order blue, green, red and one unused byte; rows lie stride bytes apart.
// The pixels belong to the player and are only valid during ShowFrame.
struct VideoFrame {
  int width = 0;
  int height = 0;
  std::size_t stride = 0;
  const unsigned char* pixels = nullptr;
};

// The area a player draws its pictures into. The player renders each picture
// at the area's size, letter-boxed on black, and hands it over on the
// user-interface thread.
class VideoSink {
 public:
  virtual ~VideoSink() = default;
  // The size in pixels pictures are rendered at; 0 x 0 renders none.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void ShowFrame(const VideoFrame& frame) = 0;
  // Nothing to show: the area goes black.
  virtual void ShowNothing() = 0;
};

}  // namespace sonvarro
