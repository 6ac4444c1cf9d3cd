#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace sonvarro::evc {

// "size=    1440kB time=95.21 bitrate= 123.9kbits/s": the output written so
// far, its length in plain seconds and the running bitrate. Readers split it
// at "=" and take the whole seconds before the "." of the third piece.
std::string StatusLine(int64_t bytes, double seconds);

// Prints the status about twice a second, each line ending in a carriage
// return so the next one overwrites it, and the last one in a line feed.
class StatusPrinter {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kInterval{500};

  explicit StatusPrinter(std::FILE* out);
  // Prints when the interval has passed since the last line.
  void Update(int64_t bytes, double seconds);
  void Final(int64_t bytes, double seconds);

 private:
  std::FILE* out_;
  Clock::time_point last_;
};

}  // namespace sonvarro::evc
