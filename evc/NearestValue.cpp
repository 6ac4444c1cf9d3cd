#include "NearestValue.h"

#include <algorithm>
#include <cstdlib>

namespace sonvarro::evc {

std::vector<int> ByDistance(int wanted, std::vector<int> candidates) {
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  std::stable_sort(candidates.begin(), candidates.end(), [wanted](int a, int b) {
    const long da = std::labs(static_cast<long>(a) - wanted);
    const long db = std::labs(static_cast<long>(b) - wanted);
    return da != db ? da < db : a > b;
  });
  return candidates;
}

std::optional<int> NearestAccepted(int wanted, int low, int high, int coarseStep,
                                   const std::function<bool(int)>& accepts) {
  wanted = std::clamp(wanted, low, high);
  if (accepts(wanted)) return wanted;
  std::vector<int> grid;
  for (int v = low; v <= high; v += coarseStep) grid.push_back(v);
  grid.push_back(high);
  for (int found : ByDistance(wanted, grid)) {
    if (found == wanted || !accepts(found)) continue;
    // Between the refused `wanted` and the accepted `found` lies one edge of
    // the accepted range; bisect towards it.
    int refused = wanted;
    while (std::abs(found - refused) > 1) {
      const int middle = refused + (found - refused) / 2;
      (accepts(middle) ? found : refused) = middle;
    }
    return found;
  }
  return std::nullopt;
}

}  // namespace sonvarro::evc
