#pragma once

#include <QPainter>
#include <QRect>

namespace sonvarro::artwork {

// One picture the generator makes: its file name in the output folder (the
// extension picks the format: .jpg JPEG by libjpeg, .png PNG, .bmp 24-bit
// bitmap),
// its size and how to draw it.
struct Artwork {
  const char* fileName;
  int width;
  int height;
  void (*draw)(QPainter& painter, const QRect& area);
};

void DrawSplash(QPainter& painter, const QRect& area);
void DrawLogo(QPainter& painter, const QRect& area);  // imgLOGO over the video area

// Every picture of the program, in the order they are written.
inline constexpr Artwork kArtwork[] = {
    {"ImgFlash.jpg", 480, 300, DrawSplash},
    {"ImgLogo.png", 253, 152, DrawLogo},
};

}  // namespace sonvarro::artwork
