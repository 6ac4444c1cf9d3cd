#pragma once

// Pictures as the windows show them, and the JPEG decoder (libjpeg) that
// makes them out of a library's resource.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace sonvarro {

// Rows from the top, three bytes (red, green, blue) a pixel, no padding.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

// Raised when the bytes are no JPEG picture we can show; the text is
// libjpeg's reason.
class JpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Pictures wider or higher than this are refused before any memory is taken
// for them.
inline constexpr int kMaxPictureSide = 8192;

// Decodes a JPEG picture. Damaged data that libjpeg would only warn about
// (a file cut short, say) is refused as well: a half-grey picture is no
// picture.
Picture DecodeJpeg(const uint8_t* data, size_t size);

}  // namespace sonvarro
