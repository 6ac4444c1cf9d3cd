#include "StatusLine.h"

namespace sonvarro::evc {

std::string StatusLine(int64_t bytes, double seconds) {
  const double kbits = seconds > 0 ? bytes * 8.0 / 1000.0 / seconds : 0.0;
  char line[128];
  std::snprintf(line, sizeof line, "size=%8.0fkB time=%.2f bitrate=%6.1fkbits/s", bytes / 1024.0,
                seconds < 0 ? 0.0 : seconds, kbits);
  return line;
}

StatusPrinter::StatusPrinter(std::FILE* out) : out_(out), last_(Clock::now()) {}

void StatusPrinter::Update(int64_t bytes, double seconds) {
  const auto now = Clock::now();
  if (now - last_ < kInterval) return;
  last_ = now;
  std::fprintf(out_, "%s\r", StatusLine(bytes, seconds).c_str());
  std::fflush(out_);
}

void StatusPrinter::Final(int64_t bytes, double seconds) {
  std::fprintf(out_, "%s\n", StatusLine(bytes, seconds).c_str());
  std::fflush(out_);
}

}  // namespace sonvarro::evc
