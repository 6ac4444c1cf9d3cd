#include "services/Picture.h"

#include <csetjmp>
#include <cstdio>
#include <string>

// jpeglib.h expects FILE and size_t declared before it.
#include <jpeglib.h>

namespace sonvarro {
namespace {

// libjpeg reports errors through a callback that must not return. It jumps
// back into the step that called libjpeg; each step below keeps only plain
// locals and writes through pointers, so the jump skips no destructor and
// leaves no local in doubt.
struct Decoder {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  std::jmp_buf failed;
  char reason[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr common) {
  auto* decoder = reinterpret_cast<Decoder*>(common->client_data);
  (*common->err->format_message)(common, decoder->reason);
  std::longjmp(decoder->failed, 1);
}

// Warnings (level -1) are damaged data: as fatal as errors. Trace messages
// (levels 0 and up) are ignored.
void OnMessage(j_common_ptr common, int level) {
  if (level < 0) OnError(common);
}

bool ReadHeader(Decoder* decoder, const uint8_t* data, size_t size) {
  if (setjmp(decoder->failed)) return false;
  jpeg_mem_src(&decoder->info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&decoder->info, TRUE);
  decoder->info.out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(&decoder->info);
  return true;
}

bool ReadPixels(Decoder* decoder, uint8_t* pixels) {
  if (setjmp(decoder->failed)) return false;
  jpeg_start_decompress(&decoder->info);
  const size_t stride = static_cast<size_t>(decoder->info.output_width) * 3;
  while (decoder->info.output_scanline < decoder->info.output_height) {
    JSAMPROW row = pixels + stride * decoder->info.output_scanline;
    jpeg_read_scanlines(&decoder->info, &row, 1);
  }
  jpeg_finish_decompress(&decoder->info);
  return true;
}

}  // namespace

Picture DecodeJpeg(const uint8_t* data, size_t size) {
  if (!data || size == 0) throw JpegError("no data");
  Decoder decoder{};
  decoder.info.err = jpeg_std_error(&decoder.errors);
  decoder.errors.error_exit = OnError;
  decoder.errors.emit_message = OnMessage;
  decoder.info.client_data = &decoder;
  jpeg_create_decompress(&decoder.info);

  const auto fail = [&decoder](const std::string& reason) {
    jpeg_destroy_decompress(&decoder.info);
    throw JpegError(reason);
  };
  if (!ReadHeader(&decoder, data, size)) fail(decoder.reason);
  const JDIMENSION width = decoder.info.output_width;
  const JDIMENSION height = decoder.info.output_height;
  if (decoder.info.output_components != 3) fail("not a colour or grey picture");
  if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
    fail("picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
  }
  Picture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.rgb.resize(static_cast<size_t>(width) * height * 3);
  if (!ReadPixels(&decoder, picture.rgb.data())) fail(decoder.reason);
  jpeg_destroy_decompress(&decoder.info);
  return picture;
}

}  // namespace sonvarro
