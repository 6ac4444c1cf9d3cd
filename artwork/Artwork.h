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
// The main window's background; its transparent colour is the one at its
// bottom left.
void DrawMainBackground(QPainter& painter, const QRect& area);

// Every picture of the program, in the order they are written.
inline constexpr Artwork kArtwork[] = {
    {"ImgFlash.jpg", 480, 300, DrawSplash},
    // The desktop's icon in the sizes its icon theme looks for.
    {"sonvarro-converter-48.png", 48, 48, DrawIcon},
    {"sonvarro-converter-128.png", 128, 128, DrawIcon},
    {"sonvarro-converter-256.png", 256, 256, DrawIcon},
    {"ImgLogo.png", 253, 152, DrawLogo},
    {"Background.bmp", 686, 486, DrawMainBackground},
};

// The bitmap buttons: each is drawn up, hot (under the mouse) and down, as
// NAMEUp.bmp, NAMEHot.bmp and NAMEDown.bmp, on olive where it is transparent.
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
