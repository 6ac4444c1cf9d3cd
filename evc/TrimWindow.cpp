#include "TrimWindow.h"

#include <algorithm>

namespace sonvarro::evc {

TrimWindow::TrimWindow(int64_t first, std::optional<int64_t> count) : first_(first) {
  if (count) end_ = first + std::max<int64_t>(0, *count);
}

TrimWindow::Span TrimWindow::Place(std::optional<int64_t> position, int samples) {
  // Without a timestamp on the first block, reading starts where it was asked to.
  const int64_t start = next_ ? *next_ : position.value_or(first_);
  next_ = start + samples;
  const int64_t keepFrom = std::max(start, first_);
  const int64_t keepTo = end_ ? std::min(start + samples, *end_) : start + samples;
  Span span;
  if (keepTo <= keepFrom) return span;
  span.skip = static_cast<int>(keepFrom - start);
  span.take = static_cast<int>(keepTo - keepFrom);
  return span;
}

bool TrimWindow::Done() const { return end_ && next_ && *next_ >= *end_; }

}  // namespace sonvarro::evc
