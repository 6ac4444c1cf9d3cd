// Makes the program's pictures: make_artwork OUTPUT_FOLDER [FILE...]
// writes every picture of kArtwork (or only the files named) into the
// folder. Run by the build; the pictures are ours, drawn here.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

#include "Artwork.h"
#include "JpegWriter.h"

namespace {

bool EndsWith(const std::string& text, const char* end) {
  const size_t n = std::strlen(end);
  return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

void Write(const sonvarro::artwork::Artwork& art, const std::string& folder) {
  QImage picture(art.width, art.height, QImage::Format_RGB888);
  picture.fill(Qt::black);
  {
    QPainter painter(&picture);
    art.draw(painter, picture.rect());
  }
  const std::string path = folder + "/" + art.fileName;
  if (EndsWith(path, ".jpg")) {
    sonvarro::artwork::WriteJpeg(picture, path, 92);
  } else if (!picture.save(QString::fromStdString(path), EndsWith(path, ".png") ? "PNG" : "BMP")) {
    throw std::runtime_error("cannot write " + path);
  }
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
    for (const auto& art : sonvarro::artwork::kArtwork) {
      bool wanted = argc == 2;
      for (int i = 2; i < argc; ++i) wanted = wanted || std::strcmp(argv[i], art.fileName) == 0;
      if (wanted) Write(art, folder);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_artwork: %s\n", error.what());
    return 1;
  }
  return 0;
}
