#include "SilentWav.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace sonvarro::test {
namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

}  // namespace

std::string WriteSilentWav(const std::string& path, int milliseconds) {
  constexpr uint32_t kRate = 8000, kBytesPerSample = 2;
  const uint32_t dataBytes = kRate * kBytesPerSample * static_cast<uint32_t>(milliseconds) / 1000;
  std::string header = "RIFF";
  PutLe(header, 36 + dataBytes, 4);
  header += "WAVEfmt ";
  PutLe(header, 16, 4);
  PutLe(header, 1, 2);  // PCM
  PutLe(header, 1, 2);  // mono
  PutLe(header, kRate, 4);
  PutLe(header, kRate * kBytesPerSample, 4);
  PutLe(header, kBytesPerSample, 2);
  PutLe(header, 16, 2);
  header += "data";
  PutLe(header, dataBytes, 4);
  // The name is UTF-8, which Windows reads only as a u8path.
  std::ofstream out(std::filesystem::u8path(path), std::ios::binary);
  out << header << std::string(dataBytes, '\0');
  if (!out) throw std::runtime_error("cannot write " + path);
  return path;
}

}  // namespace sonvarro::test
