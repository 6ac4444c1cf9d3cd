#pragma once

#include <functional>
#include <optional>
#include <vector>

namespace sonvarro::evc {

// The candidates ordered by their distance from `wanted`, nearest first; of
// two at the same distance the larger comes first (it keeps more quality).
std::vector<int> ByDistance(int wanted, std::vector<int> candidates);

// The value nearest to `wanted` in [low, high] that `accepts` takes, for
// encoders that take a contiguous range but do not say where it lies. Probes a
// coarse grid first, then narrows down to the exact edge by bisection.
std::optional<int> NearestAccepted(int wanted, int low, int high, int coarseStep,
                                   const std::function<bool(int)>& accepts);

}  // namespace sonvarro::evc
