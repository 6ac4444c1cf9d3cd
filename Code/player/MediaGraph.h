#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace sonvarro {

// A failure of a playback operation: a file that cannot be rendered, a state
// change the player refuses, a position or duration that cannot be read.
class MediaGraphError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// All playing and probing of media goes through this interface: the preview
// player of the main window is one realisation, the duration probe of the
// source list another.
//
// Operations that fail throw MediaGraphError. Positions and durations are
// in milliseconds except CurrentPosition, which counts 100-nanosecond units.
class MediaGraph {
 public:
  virtual ~MediaGraph() = default;

  // Readies the player ahead of its first activation, so that the first
  // play is as quick as the next; nothing for a graph that needs no readying.
  virtual void Prepare() {}

  // True from activation until deactivation.
  virtual bool Active() const = 0;
  // true: a fresh graph with nothing rendered (whatever was there goes).
  // false: ends playback and releases the graph and the file.
  virtual void SetActive(bool active) = 0;
  // Removes what the last Render added; the graph stays active. No effect
  // when inactive.
  virtual void Clear() = 0;

  // Sets up playback of the file at path (UTF-8): picture and sound. Returns
  // 0 when every stream could be set up, a positive code when only some
  // could; throws MediaGraphError when the file cannot be rendered at all.
  // The graph must be active.
  virtual int Render(const std::string& path) = 0;

  virtual void Play() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;

  // Length of the rendered media in milliseconds.
  virtual int64_t DurationMs() const = 0;
  // Current playback position in 100-nanosecond units.
  virtual int64_t CurrentPosition() const = 0;
  // Moves the current position to positionMs (absolute); where playback
  // stops is left alone. Callers only seek an active graph.
  virtual void SeekTo(int64_t positionMs) = 0;
};

}  // namespace sonvarro
