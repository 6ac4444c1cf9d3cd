// Makes the program's pictures. Run by the build; the pictures are ours,
// drawn here.
//   make_artwork OUTPUT_FOLDER [FILE...]  writes every picture of kArtwork and
//     kButtons (or only the files named) into the folder;
//   make_artwork --embed SOURCE.cpp  writes the skin's pictures (every .bmp)
//     as a C++ source for the program, found by FindSkinPicture.

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

// A picture to write: its file name and its pixels, drawn on demand.
struct Made {
  std::string fileName;
  std::function<QImage()> draw;
};

// A .png keeps its alpha channel (the icon, the logo); the others have none.
QImage Drawn(int width, int height, const std::function<void(QPainter&, const QRect&)>& draw, bool png = false) {
  QImage picture(width, height, png ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB888);
  picture.fill(png ? Qt::transparent : Qt::black);
  QPainter painter(&picture);
  draw(painter, picture.rect());
  return picture;
}

std::vector<Made> EveryPicture() {
  std::vector<Made> made;
  for (const Artwork& art : kArtwork) {
    made.push_back(
        {art.fileName, [art] { return Drawn(art.width, art.height, art.draw, EndsWith(art.fileName, ".png")); }});
  }
  const std::pair<ButtonState, const char*> states[] = {
      {ButtonState::Up, "Up"}, {ButtonState::Hot, "Hot"}, {ButtonState::Down, "Down"}};
  for (const ButtonArt& button : kButtons) {
    for (const auto& [state, suffix] : states) {
      made.push_back({std::string(button.name) + suffix + ".bmp", [button, state = state] {
                        return Drawn(button.width, button.height,
                                     [&](QPainter& p, const QRect& r) { DrawButton(p, r, button, state); });
                      }});
    }
  }
  return made;
}

QByteArray Bmp(const QImage& picture) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!picture.save(&buffer, "BMP")) throw std::runtime_error("cannot make a bitmap");
  return bytes;
}

void Write(const Made& made, const std::string& folder) {
  const QImage picture = made.draw();
  const std::string path = folder + "/" + made.fileName;
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
  std::vector<std::string> names;
  for (const Made& made : EveryPicture()) {
    if (!EndsWith(made.fileName, ".bmp")) continue;
    const QByteArray bytes = Bmp(made.draw());
    out << "const unsigned char kPicture" << names.size() << "[] = {";
    for (int i = 0; i < bytes.size(); ++i) {
      out << (i % 24 == 0 ? "\n" : "") << static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << ",";
    }
    out << "};\n";
    names.push_back(made.fileName);
  }
  out << "\nconst SkinPicture kPictures[] = {\n";
  for (size_t i = 0; i < names.size(); ++i) {
    out << "    {\"" << names[i] << "\", kPicture" << i << ", sizeof kPicture" << i << "},\n";
  }
  out << "};\n\n}  // namespace\n\nconst SkinPicture* FindSkinPicture(const char* fileName) {\n"
         "  for (const SkinPicture& picture : kPictures) {\n"
         "    if (std::strcmp(picture.fileName, fileName) == 0) return &picture;\n  }\n  return nullptr;\n}\n\n"
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
      for (int i = 2; i < argc; ++i) wanted = wanted || made.fileName == argv[i];
      if (wanted) Write(made, folder);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_artwork: %s\n", error.what());
    return 1;
  }
  return 0;
}
