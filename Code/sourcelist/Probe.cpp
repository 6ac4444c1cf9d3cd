#include "sourcelist/Probe.h"

namespace sonvarro {

int32_t ProbeDuration(const std::string& path, MediaGraph& graph) {
  try {
    graph.Clear();
    graph.SetActive(true);
    graph.Render(path);  // a partial render still tells a duration
    int64_t durationMs = graph.DurationMs();
    graph.SetActive(false);
    return static_cast<int32_t>(durationMs / 1000);
  } catch (...) {
    // Do not keep the file open until the next probe.
    try {
      graph.SetActive(false);
    } catch (...) {
    }
    return 0;
  }
}

}  // namespace sonvarro
