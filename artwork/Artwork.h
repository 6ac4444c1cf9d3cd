#pragma once

#include <QPainter>
#include <QRect>

namespace sonvarro::artwork {

// One picture the generator makes: its file name in the output folder (the
// extension picks the format: .jpg JPEG by libjpeg, .bmp 24-bit bitmap,
// .png with a transparent background),
// its size and how to draw it.
struct Artwork {
  const char* fileName;
  int width;
  int height;
  void (*draw)(QPainter& painter, const QRect& area);
};

void DrawSplash(QPainter& painter, const QRect& area);
void DrawIcon(QPainter& painter, const QRect& area);
void DrawLogo(QPainter& painter, const QRect& area);  // imgLOGO over the video area

// Every picture of the program, in the order they are written.
inline constexpr Artwork kArtwork[] = {
    {"ImgFlash.jpg", 480, 300, DrawSplash},
    // The desktop's icon in the sizes its icon theme looks for.
    {"sonvarro-converter-48.png", 48, 48, DrawIcon},
    {"sonvarro-converter-128.png", 128, 128, DrawIcon},
    {"sonvarro-converter-256.png", 256, 256, DrawIcon},
    {"ImgLogo.png", 253, 152, DrawLogo},
};

}  // namespace sonvarro::artwork
