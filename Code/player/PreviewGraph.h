#pragma once

#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "player/MediaGraph.h"
#include "player/PositionTrackBar.h"
#include "player/VideoSink.h"
#include "services/Scheduler.h"

struct mpv_event;

namespace sonvarro {

struct PreviewSettings {
  // libmpv's sound output: empty for the machine's own, through its sound
  // server or ALSA (playing silently when there is no sound device); "null"
  // for none at all.
  std::string audioOutput;
  // How long Render waits for a file to start playing before it gives up.
  int loadWaitMs = 5000;
};

// The preview player: a MediaGraph that plays files with libmpv, drawing
// every picture in software into a VideoSink, letter-boxed on black, and
// driving its position track bar while it plays.
//
// Threads. Every call is made on the user-interface thread, the one the
// scheduler runs its tasks on. libmpv's own threads only ever post a task to
// that thread through IScheduler::Post; the task takes libmpv's events and
// draws the picture that is due. No call here waits for libmpv's playback
// thread, except Render, which draws the pictures that fall due while it
// waits, and the release of the player on destruction.
//
// Life of the player. The graph builds libmpv's player on its first
// activation (or ahead of it, see Prepare) and keeps it until it is destroyed;
// deactivation ends playback and unloads the file. Building the player takes
// a tenth of a second or more, which a preview should not cost on every file.
//
// States. After Render the file waits paused on its first picture; Play and
// Pause change that; Stop pauses where playback is. At the end of the file
// playback holds on the last picture and the position equals the duration.
class PreviewGraph final : public MediaGraph {
 public:
  PreviewGraph(IScheduler& scheduler, VideoSink& videoArea, PreviewSettings settings = {});
  ~PreviewGraph() override;
  PreviewGraph(const PreviewGraph&) = delete;
  PreviewGraph& operator=(const PreviewGraph&) = delete;

  // Starts building libmpv's player on a thread of its own, so the first
  // activation finds it ready. Needs LC_NUMERIC to be "C".
  void Prepare() override;

  bool Active() const override { return active_; }
  // Throws MediaGraphError when libmpv's player cannot be built.
  void SetActive(bool active) override;
  void Clear() override;

  // Returns once the file plays (paused on its first picture) or has failed;
  // waits at most PreviewSettings::loadWaitMs. The streams are read with
  // libavformat first: those without a decoder are left out of playback and
  // counted in the result (0: everything plays). Throws MediaGraphError when
  // the graph is inactive, the path is no regular file, nothing in it can be
  // decoded, or libmpv cannot play it.
  int Render(const std::string& path) override;

  // Throw MediaGraphError when the graph is inactive. On an active graph with
  // nothing rendered they only start or halt the position track bar.
  void Play() override;
  void Pause() override;
  void Stop() override;

  // Throw MediaGraphError when nothing is rendered or the value is unknown.
  int64_t DurationMs() const override;
  int64_t CurrentPosition() const override;
  // Positions before the start seek to the start. Nothing happens when
  // nothing is rendered; throws MediaGraphError when the graph is inactive.
  void SeekTo(int64_t positionMs) override;

  // The position track bar bound to this graph.
  PositionTrackBar& dstrckbrMainform() { return positionBar_; }

 private:
  class Player;
  struct Bridge;
  struct Load;

  Player& ThePlayer();
  void Adopt(std::unique_ptr<Player> player);
  void Unload();
  // Waits for the load under way to start playing; returns why it failed, or
  // nothing.
  std::string AwaitLoad(const std::string& path);
  void Command(std::vector<std::string> args, uint64_t reply = 0);
  void SetProperty(const char* name, const std::string& value);
  // Takes every pending libmpv event and draws the picture that is due.
  void Drain();
  void Handle(const mpv_event& event);
  void DrawFrame();

  IScheduler& scheduler_;
  VideoSink& videoArea_;
  const PreviewSettings settings_;
  std::shared_ptr<Bridge> bridge_;
  std::future<std::unique_ptr<Player>> preparing_;
  std::unique_ptr<Player> player_;
  bool active_ = false;

  uint64_t lastReply_ = 0;
  std::unique_ptr<Load> load_;  // the Render under way
  int64_t currentEntry_ = -1;   // the playlist entry libmpv started last
  int64_t loadedEntry_ = -1;    // the rendered file's entry; -1: nothing rendered
  std::optional<double> positionSeconds_;
  std::optional<double> durationSeconds_;
  bool endReached_ = false;
  std::optional<int64_t> seekingToMs_;

  struct FreeBuffer {
    void operator()(unsigned char* pixels) const;
  };
  std::unique_ptr<unsigned char, FreeBuffer> frame_;
  std::size_t frameBytes_ = 0;

  PositionTrackBar positionBar_;
};

}  // namespace sonvarro
