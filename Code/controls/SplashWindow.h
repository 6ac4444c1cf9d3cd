#pragma once

#include <cstdint>

namespace sonvarro {

// The splash window as its behaviour sees it.
class ISplashWindow {
 public:
  virtual ~ISplashWindow() = default;
  // The picture at (0, 0) in its own size, the window exactly as large and
  // centred on the desktop. rgb holds height rows from the top, three bytes
  // (red, green, blue) a pixel, no padding; it is copied.
  virtual void SetPicture(int width, int height, const uint8_t* rgb) = 0;
  // The same picture at twice the pixels (width and height twice those of
  // SetPicture), shown instead on a screen of 150 % and more; the window's
  // size stays the first picture's. Same layout; copied.
  virtual void SetSharpPicture(int width, int height, const uint8_t* rgb) = 0;
  // Shows the window modally and returns once Close has been called.
  virtual void ShowModal() = 0;
  virtual void Close() = 0;
};

}  // namespace sonvarro
