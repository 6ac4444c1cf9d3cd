#pragma once

#include <cstddef>

namespace sonvarro {

// A picture of the main window's skin as the build drew it: "Background.bmp"
// and each bitmap button's NAMEUp.bmp, NAMEHot.bmp and NAMEDown.bmp (24-bit
// bitmaps), and the preview's logo "ImgLogo.png". Each is drawn at scale 1
// (a pixel a point) and at scale 2. The pictures are made by the artwork
// generator at build time and compiled into the program.
struct SkinPicture {
  const char* fileName;
  int scale;
  const unsigned char* bytes;
  size_t size;
};

// nullptr when the build drew no picture of that name at that scale.
const SkinPicture* FindSkinPicture(const char* fileName, int scale = 1);

}  // namespace sonvarro
