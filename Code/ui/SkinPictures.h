#pragma once

#include <cstddef>

namespace sonvarro {

// A picture of the main window's skin as the build drew it (24-bit .bmp):
// "Background.bmp" and each bitmap button's NAMEUp.bmp, NAMEHot.bmp and
// NAMEDown.bmp. The pictures are made by the artwork generator at build time
// and compiled into the program.
struct SkinPicture {
  const char* fileName;
  const unsigned char* bytes;
  size_t size;
};

// nullptr when the build drew no picture of that name.
const SkinPicture* FindSkinPicture(const char* fileName);

}  // namespace sonvarro
