#pragma once

#include <cstdint>
#include <optional>

namespace sonvarro::evc {

// Which decoded samples belong to the part asked for (-ss, -t). Blocks come
// in order; only the first one's position is taken from its timestamp, the
// rest follow on from it, so damaged timestamps cannot make audio vanish.
class TrimWindow {
 public:
  // `first`: the first sample to keep; `count`: how many (none: to the end).
  TrimWindow(int64_t first, std::optional<int64_t> count);

  struct Span {
    int skip = 0;  // samples to drop at the start of the block
    int take = 0;  // samples to keep after those
  };
  // `position`: the block's first sample, when its timestamp says so.
  Span Place(std::optional<int64_t> position, int samples);
  // All samples asked for have been kept.
  bool Done() const;

 private:
  int64_t first_;
  std::optional<int64_t> end_;
  std::optional<int64_t> next_;
};

}  // namespace sonvarro::evc
