// Makes the program's pictures. Run by the build; the pictures are ours,
// drawn here.
//   make_artwork OUTPUT_FOLDER [FILE...]  writes every picture of kArtwork and
//     kButtons (or only the files named) into the folder;
//   make_artwork --embed SOURCE.cpp  writes the skin's pictures at every
//     scale as a C++ source for the program, found by FindSkinPicture.

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "Artwork.h"
#include "JpegWriter.h"

namespace {

bool EndsWith(const std::string& text, const char* end) {
  const size_t n = std::strlen(end);
  return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

using namespace sonvarro::artwork;

// A picture to write: its file name, the scale it is drawn at, where it goes
// and its pixels, drawn on demand.
struct Made {
  std::string fileName;  // at scale 1; the file written is ScaledFileName's
  int scale;
  Destination destination;
  std::function<QImage()> draw;
};

// A .png keeps its alpha channel (the icon, the logo); the others have none.
// The image has scale times the pixels; drawing is in points all the same.
QImage Drawn(int width, int height, int scale, const std::function<void(QPainter&, const QRect&)>& draw,
             bool png = false) {
  QImage picture(width * scale, height * scale, png ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB888);
  picture.setDevicePixelRatio(scale);
  picture.fill(png ? Qt::transparent : Qt::black);
  QPainter painter(&picture);
  draw(painter, QRect(0, 0, width, height));
  return picture;
}

std::vector<Made> EveryPicture() {
  std::vector<Made> made;
  for (const Artwork& art : kArtwork) {
    for (const int scale : kScales) {
      if (scale != 1 && art.destination == Destination::IconTheme) continue;
      made.push_back({art.fileName, scale, art.destination, [art, scale] {
                        return Drawn(art.width, art.height, scale, art.draw, EndsWith(art.fileName, ".png"));
                      }});
    }
  }
  const std::pair<ButtonState, const char*> states[] = {
      {ButtonState::Up, "Up"}, {ButtonState::Hot, "Hot"}, {ButtonState::Down, "Down"}};
  for (const ButtonArt& button : kButtons) {
    for (const auto& [state, suffix] : states) {
      for (const int scale : kScales) {
        made.push_back(
            {std::string(button.name) + suffix + ".bmp", scale, Destination::Skin, [button, state = state, scale] {
               return Drawn(button.width, button.height, scale,
                            [&](QPainter& p, const QRect& r) { DrawButton(p, r, button, state); });
             }});
      }
    }
  }
  return made;
}

// The picture as its file holds it.
QByteArray Encoded(const Made& made) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const char* format = EndsWith(made.fileName, ".png") ? "PNG" : "BMP";
  if (!made.draw().save(&buffer, format)) throw std::runtime_error("cannot encode " + made.fileName);
  return bytes;
}

void Write(const Made& made, const std::string& folder) {
  const QImage picture = made.draw();
  const std::string path = folder + "/" + ScaledFileName(made.fileName, made.scale);
  if (EndsWith(path, ".jpg")) {
    WriteJpeg(picture, path, 92);
  } else if (!picture.save(QString::fromStdString(path), EndsWith(path, ".png") ? "PNG" : "BMP")) {
    throw std::runtime_error("cannot write " + path);
  }
}

void Embed(const std::string& path) {
  std::ofstream out(path, std::ios::trunc);
  out << "// Made by make_artwork: the skin's pictures. Do not edit.\n"
         "#include \"ui/SkinPictures.h\"\n\n#include <cstring>\n\nnamespace sonvarro {\nnamespace {\n\n";
  std::vector<const Made*> embedded;
  const std::vector<Made> every = EveryPicture();
  for (const Made& made : every) {
    if (made.destination != Destination::Skin) continue;
    const QByteArray bytes = Encoded(made);
    out << "const unsigned char kPicture" << embedded.size() << "[] = {";
    for (int i = 0; i < bytes.size(); ++i) {
      out << (i % 24 == 0 ? "\n" : "") << static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << ",";
    }
    out << "};\n";
    embedded.push_back(&made);
  }
  out << "\nconst SkinPicture kPictures[] = {\n";
  for (size_t i = 0; i < embedded.size(); ++i) {
    out << "    {\"" << embedded[i]->fileName << "\", " << embedded[i]->scale << ", kPicture" << i
        << ", sizeof kPicture" << i << "},\n";
  }
  out << "};\n\n}  // namespace\n\nconst SkinPicture* FindSkinPicture(const char* fileName, int scale) {\n"
         "  for (const SkinPicture& picture : kPictures) {\n"
         "    if (std::strcmp(picture.fileName, fileName) == 0 && picture.scale == scale) return &picture;\n  }\n"
         "  return nullptr;\n}\n\n"
         "}  // namespace sonvarro\n";
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [FILE...]\n", argv[0]);
    return 2;
  }
  // Drawing text needs a GUI application; no screen is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);
  const std::string folder = argv[1];
  try {
    if (folder == "--embed" && argc == 3) {
      Embed(argv[2]);
      return 0;
    }
    for (const Made& made : EveryPicture()) {
      bool wanted = argc == 2;
      for (int i = 2; i < argc; ++i) wanted = wanted || ScaledFileName(made.fileName, made.scale) == argv[i];
      if (wanted) Write(made, folder);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_artwork: %s\n", error.what());
    return 1;
  }
  return 0;
}
