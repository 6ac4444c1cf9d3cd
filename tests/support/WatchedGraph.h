#pragma once

#include <functional>
#include <memory>
#include <string>

#include "player/MediaGraph.h"

namespace sonvarro::test {

// Stands between the main window and its preview graph: everything goes on
// to the graph, and a test sees the deactivations, the release of the
// player, before and after they happen. beforeRelease may throw, and the
// graph is then left as it was.
class WatchedGraph final : public MediaGraph {
 public:
  explicit WatchedGraph(MediaGraph& graph) : graph_(graph) {}

  std::function<void()> beforeRelease;
  std::function<void()> afterRelease;

  void Prepare() override { graph_.Prepare(); }
  bool Active() const override { return graph_.Active(); }
  void SetActive(bool active) override {
    if (!active && beforeRelease) beforeRelease();
    graph_.SetActive(active);
    if (!active && afterRelease) afterRelease();
  }
  void Clear() override { graph_.Clear(); }
  int Render(const std::string& path) override { return graph_.Render(path); }
  void Play() override { graph_.Play(); }
  void Pause() override { graph_.Pause(); }
  void Stop() override { graph_.Stop(); }
  int64_t DurationMs() const override { return graph_.DurationMs(); }
  int64_t CurrentPosition() const override { return graph_.CurrentPosition(); }
  void SeekTo(int64_t positionMs) override { graph_.SeekTo(positionMs); }

  // The root's seam that puts a watched graph before the preview and hands
  // it to watched.
  static std::function<std::unique_ptr<MediaGraph>(MediaGraph&)> Into(WatchedGraph*& watched) {
    return [&watched](MediaGraph& preview) {
      auto graph = std::make_unique<WatchedGraph>(preview);
      watched = graph.get();
      return std::unique_ptr<MediaGraph>(std::move(graph));
    };
  }

 private:
  MediaGraph& graph_;
};

}  // namespace sonvarro::test
