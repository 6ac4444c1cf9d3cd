#pragma once

#include <QPainter>
#include <QRect>
#include <string>

namespace sonvarro::artwork {

// Where a picture goes: compiled into the program's skin, into Res.dll (the
// splash), or into the desktop's icon theme, which has a picture for each
// size it looks for.
enum class Destination { Skin, Splash, IconTheme };

// One picture the generator makes: its file name in the output folder (the
// extension picks the format: .jpg JPEG by libjpeg, .bmp 24-bit bitmap,
// .png with a transparent background), its size in points and how to draw
// it. The painter is scaled to the picture's scale: the drawing is in points.
struct Artwork {
  const char* fileName;
  int width;
  int height;
  void (*draw)(QPainter& painter, const QRect& area);
  Destination destination;
};

// The scales the skin and the splash are drawn at: one pixel a point, and
// two for screens of 150 % and more (drawn down there, never the first drawn
// up).
inline constexpr int kScales[] = {1, 2};

// A picture's file name at a scale, as Qt names them: "Background@2x.bmp".
inline std::string ScaledFileName(const std::string& fileName, int scale) {
  if (scale == 1) return fileName;
  const size_t dot = fileName.rfind('.');
  return fileName.substr(0, dot) + "@" + std::to_string(scale) + "x" + fileName.substr(dot);
}

void DrawSplash(QPainter& painter, const QRect& area);
void DrawIcon(QPainter& painter, const QRect& area);
void DrawLogo(QPainter& painter, const QRect& area);  // imgLOGO over the video area
// The main window's background; its transparent colour is the one at its
// bottom left.
void DrawMainBackground(QPainter& painter, const QRect& area);

// Every picture of the program, in the order they are written.
inline constexpr Artwork kArtwork[] = {
    {"ImgFlash.jpg", 480, 300, DrawSplash, Destination::Splash},
    // The desktop's icon in the sizes its icon theme looks for.
    {"sonvarro-converter-48.png", 48, 48, DrawIcon, Destination::IconTheme},
    {"sonvarro-converter-128.png", 128, 128, DrawIcon, Destination::IconTheme},
    {"sonvarro-converter-256.png", 256, 256, DrawIcon, Destination::IconTheme},
    {"ImgLogo.png", 253, 152, DrawLogo, Destination::Skin},
    {"Background.bmp", 686, 486, DrawMainBackground, Destination::Skin},
};

// The bitmap buttons: each is drawn up, hot (under the mouse) and down, as
// NAMEUp.bmp, NAMEHot.bmp and NAMEDown.bmp, on olive where it is transparent;
// they belong to the skin.
enum class ButtonState { Up, Hot, Down };
enum class ButtonShape { Plate, Round };
enum class ButtonGlyph { None, Minimize, Close, Plus, Minus, Bin, Convert, Home, Mail, Help, About, Play, Pause, Stop };

struct ButtonArt {
  const char* name;
  int width;
  int height;
  ButtonShape shape;
  ButtonGlyph glyph;
  const char* text;  // or nullptr: the glyph alone
  bool accent;       // the orange of the main command
};

void DrawButton(QPainter& painter, const QRect& area, const ButtonArt& art, ButtonState state);

inline constexpr ButtonArt kButtons[] = {
    {"WindowMinimize", 25, 25, ButtonShape::Round, ButtonGlyph::Minimize, nullptr, false},
    {"WindowClose", 25, 25, ButtonShape::Round, ButtonGlyph::Close, nullptr, false},
    {"HomePage", 48, 48, ButtonShape::Plate, ButtonGlyph::Home, nullptr, false},
    {"EMail", 48, 48, ButtonShape::Plate, ButtonGlyph::Mail, nullptr, false},
    {"Help", 48, 48, ButtonShape::Plate, ButtonGlyph::Help, nullptr, false},
    {"About", 48, 48, ButtonShape::Plate, ButtonGlyph::About, nullptr, false},
    {"Options", 70, 20, ButtonShape::Plate, ButtonGlyph::None, "Options", false},
    {"Browse", 70, 20, ButtonShape::Plate, ButtonGlyph::None, "Browse...", false},
    {"OpenFile", 110, 30, ButtonShape::Plate, ButtonGlyph::Plus, "Add Files", false},
    {"RemoveFile", 110, 30, ButtonShape::Plate, ButtonGlyph::Minus, "Remove", false},
    {"ClearFile", 110, 30, ButtonShape::Plate, ButtonGlyph::Bin, "Clear", false},
    {"Convert", 110, 40, ButtonShape::Plate, ButtonGlyph::Convert, "Convert", true},
    {"Play", 25, 25, ButtonShape::Round, ButtonGlyph::Play, nullptr, false},
    {"Pause", 25, 25, ButtonShape::Round, ButtonGlyph::Pause, nullptr, false},
    {"Stop", 25, 25, ButtonShape::Round, ButtonGlyph::Stop, nullptr, false},
};

}  // namespace sonvarro::artwork
