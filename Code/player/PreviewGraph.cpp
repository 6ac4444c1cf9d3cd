#include "player/PreviewGraph.h"

#include <alsa/asoundlib.h>
#include <mpv/client.h>
#include <mpv/render.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>
#include <utility>

#include "player/MediaFile.h"
#include "services/platform/Folders.h"

namespace sonvarro {
namespace {

using Clock = std::chrono::steady_clock;

// The properties the graph follows, told apart by their reply number.
enum ObservedProperty : uint64_t { kTimePos = 1, kDuration, kEndReached };

constexpr std::size_t kRowAlignment = 64;  // what libmpv's software renderer is fastest with

int64_t SecondsToUnits(double seconds) { return std::llround(std::max(0.0, seconds) * 1e7); }

bool Holds(const std::vector<int64_t>& entries, int64_t entry) {
  return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

// Seconds with three decimals, written without the locale's help.
std::string SecondsText(int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(ms / 1000), static_cast<long long>(ms % 1000));
  return text;
}

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

// One libmpv player with its software render context. It may be built on any
// thread; after that the graph owns it on the user-interface thread.
class PreviewGraph::Player {
 public:
  static std::unique_ptr<Player> Create(const PreviewSettings& settings);
  ~Player();

  mpv_handle* mpv = nullptr;
  mpv_render_context* render = nullptr;
};

std::unique_ptr<PreviewGraph::Player> PreviewGraph::Player::Create(const PreviewSettings& settings) {
  auto player = std::make_unique<Player>();
  player->mpv = mpv_create();
  if (!player->mpv) throw MediaGraphError("libmpv cannot start (it needs LC_NUMERIC to be \"C\")");

  const struct {
    const char* name;
    const char* value;
  } options[] = {
      {"vo", "libmpv"},  // pictures only through the render context
      {"audio-fallback-to-null", "yes"},
      {"terminal", "no"},
      {"msg-level", "all=no"},
      {"config", "no"},
      {"load-scripts", "no"},
      {"osc", "no"},
      {"ytdl", "no"},
      {"input-default-bindings", "no"},
      {"input-vo-keyboard", "no"},
      {"osd-level", "0"},
      {"sid", "no"},
      {"sub-auto", "no"},
      {"audio-file-auto", "no"},
      {"cover-art-auto", "no"},
      {"hwdec", "no"},
      {"idle", "yes"},
      {"keep-open", "yes"},  // hold on the last picture at the end of the file
      {"pause", "yes"},
      // Frames are announced when they are due, so drawing one never waits.
      {"video-timing-offset", "0"},
  };
  for (const auto& option : options) {
    // An option this libmpv does not know only costs its effect.
    mpv_set_option_string(player->mpv, option.name, option.value);
  }
  // The machine's sound through its sound server or ALSA. libmpv would try
  // PipeWire's own client first, which writes its complaints straight to the
  // terminal when no server runs; PipeWire serves the PulseAudio clients too.
  mpv_set_option_string(player->mpv, "ao", settings.audioOutput.empty() ? "pulse,alsa" : settings.audioOutput.c_str());
  // Without a sound device ALSA does the same on every file; playback goes on
  // silently all the same.
  static std::once_flag quietAlsa;
  std::call_once(quietAlsa, [] { snd_lib_error_set_handler(IgnoreAlsaError); });
  if (int code = mpv_initialize(player->mpv); code < 0) {
    throw MediaGraphError(std::string("libmpv cannot start: ") + mpv_error_string(code));
  }

  mpv_observe_property(player->mpv, kTimePos, "time-pos", MPV_FORMAT_DOUBLE);
  mpv_observe_property(player->mpv, kDuration, "duration", MPV_FORMAT_DOUBLE);
  mpv_observe_property(player->mpv, kEndReached, "eof-reached", MPV_FORMAT_FLAG);

  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  if (int code = mpv_render_context_create(&player->render, player->mpv, params); code < 0) {
    throw MediaGraphError(std::string("libmpv cannot draw in software: ") + mpv_error_string(code));
  }
  return player;
}

PreviewGraph::Player::~Player() {
  // libmpv requires the render context to go before the player.
  if (render) mpv_render_context_free(render);
  if (mpv) mpv_terminate_destroy(mpv);
}

// What libmpv's threads share with the graph. Their callbacks only note what
// happened, wake a waiting Render and post one drain to the user-interface
// thread; the posted drain finds the graph through `graph`, which the graph
// clears when it goes (both on the user-interface thread).
struct PreviewGraph::Bridge : std::enable_shared_from_this<Bridge> {
  explicit Bridge(IScheduler& scheduler) : scheduler(scheduler) {}

  static void OnWakeup(void* self) { static_cast<Bridge*>(self)->Signal(false); }
  static void OnFrame(void* self) { static_cast<Bridge*>(self)->Signal(true); }

  void Signal(bool frame) noexcept {
    if (frame) frameDue = true;
    {
      std::lock_guard<std::mutex> lock(mutex);
      signalled = true;
    }
    woken.notify_all();
    if (drainQueued.exchange(true)) return;
    try {
      scheduler.Post([self = shared_from_this()] {
        self->drainQueued = false;
        if (self->graph) self->graph->Drain();
      });
    } catch (...) {
      drainQueued = false;  // the next callback tries again
    }
  }

  // Returns when a callback came, or at the deadline.
  void WaitUntil(Clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex);
    woken.wait_until(lock, deadline, [this] { return signalled; });
    signalled = false;
  }

  IScheduler& scheduler;
  PreviewGraph* graph = nullptr;
  std::atomic<bool> drainQueued{false};
  std::atomic<bool> frameDue{false};
  std::mutex mutex;
  std::condition_variable woken;
  bool signalled = false;
};

// A Render under way: the playlist entry libmpv gave the file, what became
// of the entries meanwhile, and the file's duration asked for once it plays.
struct PreviewGraph::Load {
  uint64_t reply = 0;
  int64_t entry = -1;
  std::string failure;
  std::vector<int64_t> restarted;
  std::vector<int64_t> ended;
  uint64_t durationReply = 0;
  bool durationAnswered = false;
};

void PreviewGraph::FreeBuffer::operator()(unsigned char* pixels) const { std::free(pixels); }

PreviewGraph::PreviewGraph(IScheduler& scheduler, VideoSink& videoArea, PreviewSettings settings)
    : scheduler_(scheduler),
      videoArea_(videoArea),
      settings_(std::move(settings)),
      bridge_(std::make_shared<Bridge>(scheduler)),
      positionBar_(scheduler, *this) {
  bridge_->graph = this;
}

PreviewGraph::~PreviewGraph() {
  positionBar_.Stop();
  bridge_->graph = nullptr;
  if (preparing_.valid()) {
    try {
      preparing_.get();
    } catch (...) {
    }
  }
  player_.reset();
}

void PreviewGraph::Prepare() {
  if (player_ || preparing_.valid()) return;
  preparing_ = std::async(std::launch::async, [settings = settings_] { return Player::Create(settings); });
}

PreviewGraph::Player& PreviewGraph::ThePlayer() {
  if (!player_) Adopt(preparing_.valid() ? preparing_.get() : Player::Create(settings_));
  return *player_;
}

void PreviewGraph::Adopt(std::unique_ptr<Player> player) {
  player_ = std::move(player);
  mpv_set_wakeup_callback(player_->mpv, &Bridge::OnWakeup, bridge_.get());
  mpv_render_context_set_update_callback(player_->render, &Bridge::OnFrame, bridge_.get());
}

void PreviewGraph::SetActive(bool active) {
  Clear();
  if (active) {
    ThePlayer();
    videoArea_.ShowNothing();
  }
  active_ = active;
}

void PreviewGraph::Clear() {
  if (!active_) return;
  positionBar_.Stop();
  Unload();
  videoArea_.ShowNothing();
}

void PreviewGraph::Unload() {
  if (player_) Command({"stop"});
  loadedEntry_ = -1;
  positionSeconds_.reset();
  durationSeconds_.reset();
  endReached_ = false;
  seekingToMs_.reset();
}

int PreviewGraph::Render(const std::string& path) {
  if (!active_) throw MediaGraphError("the preview graph is not active");
  Clear();

  // libmpv gives up a whole file whose picture it cannot decode, so what
  // cannot be decoded is left out from the start.
  StreamCensus census;
  {
    MediaFile file(path);
    census = file.Census();
  }
  if (census.Decodable() == 0) throw MediaGraphError("nothing in " + path + " can be played");
  SetProperty("vid", census.firstVideoTrack ? std::to_string(census.firstVideoTrack) : "no");
  SetProperty("aid", census.firstAudioTrack ? std::to_string(census.firstAudioTrack) : "no");
  SetProperty("pause", "yes");

  std::string failure;
  try {
    load_ = std::make_unique<Load>();
    load_->reply = ++lastReply_;
    // An absolute path: libmpv must not take anything in the name for a
    // protocol.
    const platform::Result<std::string> absolute = platform::AbsolutePath(path);
    if (!absolute) throw MediaGraphError(absolute.GetStatus().Describe());
    Command({"loadfile", absolute.Value(), "replace"}, load_->reply);
    // Only playback starting counts: libmpv reports a file as loaded before
    // it has found out whether it can decode it.
    failure = AwaitLoad(path);
  } catch (...) {
    load_.reset();
    Unload();
    throw;
  }
  const int64_t entry = load_->entry;
  load_.reset();
  if (!failure.empty()) {
    Unload();
    videoArea_.ShowNothing();
    throw MediaGraphError(failure);
  }
  loadedEntry_ = entry;
  if (!positionSeconds_) positionSeconds_ = 0.0;
  return census.Undecodable();
}

std::string PreviewGraph::AwaitLoad(const std::string& path) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(settings_.loadWaitMs);
  for (;;) {
    Drain();
    const Load& load = *load_;
    if (!load.failure.empty()) return "libmpv cannot load " + path + ": " + load.failure;
    if (load.entry >= 0 && Holds(load.ended, load.entry)) return "libmpv cannot play " + path;
    if (load.entry >= 0 && Holds(load.restarted, load.entry)) {
      // Changes of the duration may reach the graph after the start: ask.
      if (load.durationAnswered) return "";
      if (load.durationReply == 0) {
        load_->durationReply = ++lastReply_;
        mpv_get_property_async(player_->mpv, load_->durationReply, "duration", MPV_FORMAT_DOUBLE);
      }
    }
    if (Clock::now() >= deadline) return path + " did not start playing in time";
    bridge_->WaitUntil(deadline);
  }
}

void PreviewGraph::Play() {
  if (!active_) throw MediaGraphError("the preview graph is not active");
  SetProperty("pause", "no");
  positionBar_.Start();
}

void PreviewGraph::Pause() {
  if (!active_) throw MediaGraphError("the preview graph is not active");
  SetProperty("pause", "yes");
  positionBar_.Stop();
}

void PreviewGraph::Stop() { Pause(); }

int64_t PreviewGraph::DurationMs() const {
  if (loadedEntry_ < 0) throw MediaGraphError("nothing is rendered");
  if (!durationSeconds_) throw MediaGraphError("the duration is unknown");
  return std::llround(std::max(0.0, *durationSeconds_) * 1000);
}

int64_t PreviewGraph::CurrentPosition() const {
  if (loadedEntry_ < 0) throw MediaGraphError("nothing is rendered");
  if (seekingToMs_) return *seekingToMs_ * 10000;
  // At the end the last picture's time can fall short of the duration.
  if (endReached_ && durationSeconds_) return SecondsToUnits(*durationSeconds_);
  if (!positionSeconds_) throw MediaGraphError("the position is unknown");
  return SecondsToUnits(*positionSeconds_);
}

void PreviewGraph::SeekTo(int64_t positionMs) {
  if (!active_) throw MediaGraphError("the preview graph is not active");
  if (loadedEntry_ < 0) return;
  positionMs = std::max<int64_t>(0, positionMs);
  Command({"seek", SecondsText(positionMs), "absolute+exact"});
  // Until libmpv has moved, the position reads as the target.
  seekingToMs_ = positionMs;
  endReached_ = false;
}

void PreviewGraph::Command(std::vector<std::string> args, uint64_t reply) {
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  if (int code = mpv_command_async(ThePlayer().mpv, reply, argv.data()); code < 0) {
    throw MediaGraphError(args.front() + ": " + mpv_error_string(code));
  }
}

void PreviewGraph::SetProperty(const char* name, const std::string& value) {
  const char* text = value.c_str();
  if (int code = mpv_set_property_async(ThePlayer().mpv, 0, name, MPV_FORMAT_STRING, &text); code < 0) {
    throw MediaGraphError(std::string(name) + ": " + mpv_error_string(code));
  }
}

void PreviewGraph::Drain() {
  if (!player_) return;
  for (;;) {
    const mpv_event* event = mpv_wait_event(player_->mpv, 0);
    if (event->event_id == MPV_EVENT_NONE) break;
    Handle(*event);
  }
  if (bridge_->frameDue.exchange(false)) DrawFrame();
}

void PreviewGraph::Handle(const mpv_event& event) {
  switch (event.event_id) {
    case MPV_EVENT_COMMAND_REPLY:
      if (load_ && event.reply_userdata == load_->reply) {
        if (event.error < 0) {
          load_->failure = mpv_error_string(event.error);
          break;
        }
        const mpv_node& result = static_cast<const mpv_event_command*>(event.data)->result;
        if (result.format != MPV_FORMAT_NODE_MAP) break;
        for (int i = 0; i < result.u.list->num; ++i) {
          if (std::string(result.u.list->keys[i]) == "playlist_entry_id" &&
              result.u.list->values[i].format == MPV_FORMAT_INT64) {
            load_->entry = result.u.list->values[i].u.int64;
          }
        }
      }
      break;
    case MPV_EVENT_GET_PROPERTY_REPLY:
      if (load_ && load_->durationReply != 0 && event.reply_userdata == load_->durationReply) {
        const auto& property = *static_cast<const mpv_event_property*>(event.data);
        if (event.error >= 0 && property.format == MPV_FORMAT_DOUBLE) {
          durationSeconds_ = *static_cast<double*>(property.data);
        }
        load_->durationAnswered = true;
      }
      break;
    case MPV_EVENT_START_FILE:
      currentEntry_ = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
      break;
    case MPV_EVENT_PLAYBACK_RESTART:
      seekingToMs_.reset();
      if (load_) load_->restarted.push_back(currentEntry_);
      break;
    case MPV_EVENT_END_FILE: {
      const int64_t entry = static_cast<const mpv_event_end_file*>(event.data)->playlist_entry_id;
      if (load_) load_->ended.push_back(entry);
      // A file that ends by itself (kept open at its end, it only does so on
      // an error) is no longer rendered.
      if (entry == loadedEntry_) Unload();
      break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
      const auto& property = *static_cast<const mpv_event_property*>(event.data);
      const bool isDouble = property.format == MPV_FORMAT_DOUBLE;
      if (event.reply_userdata == kTimePos) {
        positionSeconds_ = isDouble ? std::optional<double>(*static_cast<double*>(property.data)) : std::nullopt;
      } else if (event.reply_userdata == kDuration) {
        durationSeconds_ = isDouble ? std::optional<double>(*static_cast<double*>(property.data)) : std::nullopt;
      } else if (event.reply_userdata == kEndReached) {
        endReached_ = property.format == MPV_FORMAT_FLAG && *static_cast<int*>(property.data) != 0;
        if (endReached_) seekingToMs_.reset();
      }
      break;
    }
    default: break;
  }
}

void PreviewGraph::DrawFrame() {
  if (!(mpv_render_context_update(player_->render) & MPV_RENDER_UPDATE_FRAME)) return;
  int block = 0;  // the frame is due now: never wait inside libmpv
  int size[2] = {videoArea_.Width(), videoArea_.Height()};
  // Pictures of a file going away, or for an area of no size, are only
  // taken off libmpv's queue.
  if ((loadedEntry_ < 0 && !load_) || size[0] <= 0 || size[1] <= 0) {
    int skip = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                                 {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(player_->render, params);
    return;
  }
  std::size_t stride = (static_cast<std::size_t>(size[0]) * 4 + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
  const std::size_t bytes = stride * static_cast<std::size_t>(size[1]);
  if (bytes != frameBytes_) {
    frame_.reset(static_cast<unsigned char*>(std::aligned_alloc(kRowAlignment, bytes)));
    frameBytes_ = frame_ ? bytes : 0;
    if (!frame_) throw std::bad_alloc();
  }
  char format[] = "bgr0";
  mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                               {MPV_RENDER_PARAM_SW_FORMAT, format},
                               {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                               {MPV_RENDER_PARAM_SW_POINTER, frame_.get()},
                               {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  if (mpv_render_context_render(player_->render, params) < 0) return;
  videoArea_.ShowFrame({size[0], size[1], stride, frame_.get()});
}

}  // namespace sonvarro
