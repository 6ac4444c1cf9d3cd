#include "JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

// jpeglib.h expects FILE and size_t declared before it.
#include <jpeglib.h>

namespace sonvarro::artwork {
namespace {

// libjpeg's error callback must not return: it jumps back to the setjmp in
// Compress, whose locals are all made before it.
struct Encoder {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  std::jmp_buf failed;
  char reason[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr common) {
  auto* encoder = static_cast<Encoder*>(common->client_data);
  (*common->err->format_message)(common, encoder->reason);
  std::longjmp(encoder->failed, 1);
}

bool Compress(Encoder* encoder, const QImage* rgb, FILE* file, int quality) {
  if (setjmp(encoder->failed)) return false;
  jpeg_compress_struct& info = encoder->info;
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(rgb->width());
  info.image_height = static_cast<JDIMENSION>(rgb->height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb->constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

}  // namespace

void WriteJpeg(const QImage& picture, const std::string& path, int quality) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) throw std::runtime_error("cannot create " + path);
  auto encoder = std::make_unique<Encoder>();
  encoder->info.err = jpeg_std_error(&encoder->errors);
  encoder->errors.error_exit = OnError;
  encoder->info.client_data = encoder.get();
  jpeg_create_compress(&encoder->info);
  const bool written = Compress(encoder.get(), &rgb, file.get(), quality);
  jpeg_destroy_compress(&encoder->info);
  if (!written) throw std::runtime_error(path + ": " + encoder->reason);
  if (std::fflush(file.get()) != 0) throw std::runtime_error("cannot write " + path);
}

}  // namespace sonvarro::artwork
