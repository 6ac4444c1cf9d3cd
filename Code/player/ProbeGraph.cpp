#include "player/ProbeGraph.h"

#include <stdexcept>

#include "player/MediaFile.h"

namespace sonvarro {

ProbeGraph::ProbeGraph() { SilenceMediaLibraries(); }

void ProbeGraph::SetActive(bool active) {
  Clear();
  active_ = active;
}

void ProbeGraph::Clear() {
  rendered_ = false;
  durationMs_.reset();
}

int ProbeGraph::Render(const std::string& path) {
  if (!active_) throw MediaGraphError("the probe graph is not active");
  Clear();
  MediaFile file(path);
  const StreamCensus census = file.Census();
  if (census.Decodable() == 0) throw MediaGraphError("nothing in " + path + " can be played");
  durationMs_ = file.DurationMs();
  rendered_ = true;
  return census.Undecodable();
}

void ProbeGraph::Play() { throw std::logic_error("the probe graph does not play"); }
void ProbeGraph::Pause() { throw std::logic_error("the probe graph does not play"); }
void ProbeGraph::Stop() { throw std::logic_error("the probe graph does not play"); }
void ProbeGraph::SeekTo(int64_t) { throw std::logic_error("the probe graph does not play"); }

int64_t ProbeGraph::DurationMs() const {
  if (!rendered_) throw MediaGraphError("nothing is rendered");
  if (!durationMs_) throw MediaGraphError("the file tells no duration");
  return *durationMs_;
}

}  // namespace sonvarro
