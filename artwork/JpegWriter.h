#pragma once

#include <QImage>
#include <string>

namespace sonvarro::artwork {

// Writes the picture as a baseline JPEG with libjpeg; throws
// std::runtime_error when the file cannot be written.
void WriteJpeg(const QImage& picture, const std::string& path, int quality);

}  // namespace sonvarro::artwork
