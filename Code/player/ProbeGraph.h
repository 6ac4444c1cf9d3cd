#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "player/MediaGraph.h"

namespace sonvarro {

// A MediaGraph that only looks at files: Render opens the container, reads
// its stream information and closes it again, leaving the duration behind.
// Nothing is decoded and, with one exception, nothing is read through (see
// Render), so probing a file costs about a millisecond.
//
// It never plays: Play, Pause, Stop and SeekTo throw std::logic_error, and
// CurrentPosition stays at 0.
class ProbeGraph : public MediaGraph {
 public:
  ProbeGraph();

  bool Active() const override { return active_; }
  void SetActive(bool active) override;
  void Clear() override;

  // Counts the audio and video streams of the file for which no decoder is
  // available here. Returns 0 when every one of them can be decoded and that
  // count when only some can (other streams, such as subtitles, data or
  // attachments, are never played and do not count). Throws MediaGraphError
  // when the graph is inactive, the file cannot be opened or read as media,
  // or none of its audio or video streams can be decoded.
  //
  // Where the container only estimates its duration from the bitrate (AMR
  // storage files, raw streams), the packets are read through and their
  // durations added up instead, which is exact.
  int Render(const std::string& path) override;

  void Play() override;
  void Pause() override;
  void Stop() override;

  // The duration found by the last Render. Throws MediaGraphError when
  // nothing is rendered or the file told no duration.
  int64_t DurationMs() const override;
  int64_t CurrentPosition() const override { return 0; }
  void SeekTo(int64_t positionMs) override;

 private:
  bool active_ = false;
  bool rendered_ = false;
  std::optional<int64_t> durationMs_;
};

}  // namespace sonvarro
