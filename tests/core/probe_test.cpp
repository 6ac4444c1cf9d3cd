#include "sourcelist/Probe.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "Ffmpeg.h"
#include "TempDir.h"
#include "player/ProbeGraph.h"

namespace sonvarro {
namespace {

using test::CopyReplacing;
using test::RunFfmpeg;
using ::testing::ElementsAre;

void WriteAll(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// An AMR-NB storage file (a "#!AMR\n" magic, then frames of 20 ms, each a
// mode byte and its payload) of exactly 10.000 s: 50 frames of 12.2 kbit/s
// speech, then 450 comfort-noise frames. A duration estimated from the
// bitrate of the first frames comes out near 5.4 s.
std::string TenSecondAmr() {
  std::string bytes = "#!AMR\n";
  for (int frame = 0; frame < 500; ++frame) {
    if (frame < 50) {
      bytes += static_cast<char>(7 << 3 | 4);  // 12.2 kbit/s, 31 payload bytes
      bytes += std::string(31, '\0');
    } else {
      bytes += static_cast<char>(8 << 3 | 4);  // comfort noise, 5 payload bytes
      bytes += std::string(5, '\0');
    }
  }
  return bytes;
}

// Media made once for all tests of this file.
class Media : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new test::TempDir;
    const std::string dir = folder_->Folder();
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=duration=2.5", dir + "tone.wav"}));
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=duration=0.9", dir + "short.wav"}));
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=duration=3.5", "-c:a", "libmp3lame", dir + "tone.mp3"}));
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=duration=2.2:size=64x48:rate=10", "-f", "lavfi", "-i",
                           "sine=duration=2.2", "-c:v", "mpeg4", "-c:a", "aac", "-shortest", dir + "clip.mp4"}));
    // An AVI whose picture stream is relabelled with a four-character code
    // no decoder knows: its sound still plays, its picture cannot.
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=duration=1.6:size=32x24:rate=5", "-f", "lavfi", "-i",
                           "sine=duration=1.6", "-c:v", "mpeg4", "-c:a", "pcm_s16le", dir + "mpeg4.avi"}));
    ASSERT_TRUE(CopyReplacing(dir + "mpeg4.avi", dir + "unknown.avi", "FMP4", "ZZZZ"));

    WriteAll(dir + "speech.amr", TenSecondAmr());
    std::filesystem::copy_file(dir + "tone.wav", dir + "a: b \"c\" $d ü.wav");
    std::string text;
    for (int line = 0; line < 50; ++line) text += "just some text, line " + std::to_string(line) + "\n";
    WriteAll(dir + "notes.mp3", text);
    std::mt19937 random(20240611);
    std::string noise(65536, '\0');
    for (char& byte : noise) byte = static_cast<char>(random());
    WriteAll(dir + "noise.mp3", noise);
    WriteAll(dir + "subtitles.srt", "1\n00:00:01,000 --> 00:00:04,000\nHello\n\n");
    std::filesystem::create_directory(dir + "folder.mp3");
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  static std::string Path(const std::string& name) { return folder_->Folder() + name; }

  static test::TempDir* folder_;
};
test::TempDir* Media::folder_ = nullptr;

TEST_F(Media, ProbeDurationGivesWholeSecondsOrZero) {
  const struct {
    const char* name;
    int32_t seconds;
  } cases[] = {
      {"tone.wav", 2},
      {"tone.mp3", 3},
      {"clip.mp4", 2},
      {"speech.amr", 10},  // exact, not the bitrate estimate
      {"unknown.avi", 1},  // partly playable still tells its duration
      {"a: b \"c\" $d ü.wav", 2},
      {"short.wav", 0},
      {"missing.wav", 0},
      {"notes.mp3", 0},
      {"noise.mp3", 0},
      {"subtitles.srt", 0},
      {"folder.mp3", 0},
  };
  ProbeGraph graph;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ProbeDuration(Path(c.name), graph), c.seconds);
    EXPECT_FALSE(graph.Active());
  }
}

TEST_F(Media, RenderReportsFullOrPartialAndTheDurationInMilliseconds) {
  ProbeGraph graph;
  graph.SetActive(true);
  EXPECT_EQ(graph.Render(Path("tone.wav")), 0);
  EXPECT_EQ(graph.DurationMs(), 2500);
  EXPECT_EQ(graph.Render(Path("clip.mp4")), 0);
  EXPECT_EQ(graph.DurationMs(), 2200);
  EXPECT_EQ(graph.Render(Path("speech.amr")), 0);
  EXPECT_EQ(graph.DurationMs(), 10000);
  // One picture stream without a decoder beside a playable sound stream.
  EXPECT_EQ(graph.Render(Path("unknown.avi")), 1);
  EXPECT_GE(graph.DurationMs(), 1600);
  EXPECT_LT(graph.DurationMs(), 1700);
}

TEST_F(Media, RenderThrowsWhenNothingCanBePlayed) {
  ProbeGraph graph;
  graph.SetActive(true);
  for (const char* name : {"missing.wav", "notes.mp3", "noise.mp3", "subtitles.srt", "folder.mp3"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(graph.Render(Path(name)), MediaGraphError);
    EXPECT_THROW(graph.DurationMs(), MediaGraphError);  // nothing is left from before
    EXPECT_TRUE(graph.Active());
  }
}

TEST_F(Media, GraphStateFollowsActivationAndClear) {
  ProbeGraph graph;
  EXPECT_FALSE(graph.Active());
  EXPECT_THROW(graph.Render(Path("tone.wav")), MediaGraphError);
  graph.SetActive(true);
  EXPECT_THROW(graph.DurationMs(), MediaGraphError);
  graph.Render(Path("tone.wav"));
  graph.Clear();
  EXPECT_TRUE(graph.Active());
  EXPECT_THROW(graph.DurationMs(), MediaGraphError);
  graph.Render(Path("tone.wav"));
  graph.SetActive(false);
  EXPECT_THROW(graph.DurationMs(), MediaGraphError);
  graph.Clear();  // no effect when inactive
  EXPECT_FALSE(graph.Active());
}

TEST(ProbeGraph, DoesNotPlay) {
  ProbeGraph graph;
  graph.SetActive(true);
  EXPECT_THROW(graph.Play(), std::logic_error);
  EXPECT_THROW(graph.Pause(), std::logic_error);
  EXPECT_THROW(graph.Stop(), std::logic_error);
  EXPECT_THROW(graph.SeekTo(1000), std::logic_error);
  EXPECT_EQ(graph.CurrentPosition(), 0);
}

// Records the calls ProbeDuration makes and answers as told.
class ScriptedGraph : public MediaGraph {
 public:
  std::vector<std::string> calls;
  int renderResult = 0;
  bool renderThrows = false;
  int64_t durationMs = 0;

  bool Active() const override { return active_; }
  void SetActive(bool active) override {
    active_ = active;
    calls.push_back(active ? "SetActive(true)" : "SetActive(false)");
  }
  void Clear() override { calls.push_back("Clear"); }
  int Render(const std::string& path) override {
    calls.push_back("Render(" + path + ")");
    if (renderThrows) throw MediaGraphError("cannot render");
    return renderResult;
  }
  void Play() override {}
  void Pause() override {}
  void Stop() override {}
  int64_t DurationMs() const override { return durationMs; }
  int64_t CurrentPosition() const override { return 0; }
  void SeekTo(int64_t) override {}

 private:
  bool active_ = false;
};

TEST(ProbeDuration, RendersOnAFreshGraphAndTruncatesToSeconds) {
  ScriptedGraph graph;
  graph.renderResult = 2;  // partly rendered: the duration still counts
  graph.durationMs = 61999;
  EXPECT_EQ(ProbeDuration("/media/a.mkv", graph), 61);
  EXPECT_THAT(graph.calls, ElementsAre("Clear", "SetActive(true)", "Render(/media/a.mkv)", "SetActive(false)"));
}

TEST(ProbeDuration, FailureGivesZeroAndReleasesTheGraph) {
  ScriptedGraph graph;
  graph.renderThrows = true;
  graph.durationMs = 5000;
  EXPECT_EQ(ProbeDuration("/media/broken.mp3", graph), 0);
  EXPECT_FALSE(graph.Active());
}

}  // namespace
}  // namespace sonvarro
