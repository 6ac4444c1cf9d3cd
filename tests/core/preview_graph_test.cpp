#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <random>
#include <thread>
#include <tuple>
#include <vector>

#include "Ffmpeg.h"
#include "TempDir.h"
#include "VirtualScheduler.h"
#include "WaitUntil.h"
#include "player/PreviewGraph.h"
#include "player/ProbeGraph.h"

namespace sonvarro {
namespace {

using namespace std::chrono_literals;
using test::LetTimePass;
using test::WaitUntil;

struct Rgb {
  int r, g, b;
};
constexpr Rgb kBlack{0, 0, 0}, kRed{255, 0, 0}, kBlue{0, 0, 255}, kGreen{0, 255, 0};

// A video area that keeps a copy of the last picture.
class RecordingArea : public VideoSink {
 public:
  int Width() const override { return 253; }
  int Height() const override { return 152; }
  void ShowFrame(const VideoFrame& frame) override {
    ++frames;
    width = frame.width;
    height = frame.height;
    stride = frame.stride;
    pixels.assign(frame.pixels, frame.pixels + frame.stride * frame.height);
  }
  void ShowNothing() override {
    ++blanks;
    pixels.clear();
  }

  bool Shows() const { return !pixels.empty(); }
  Rgb At(int x, int y) const {
    const unsigned char* p = pixels.data() + stride * y + 4 * x;
    return {p[2], p[1], p[0]};
  }
  // The middle row at x is close to colour (the picture went through a lossy codec).
  bool ShowsAt(int x, Rgb colour) const {
    if (!Shows()) return false;
    const Rgb seen = At(x, height / 2);
    return std::abs(seen.r - colour.r) < 40 && std::abs(seen.g - colour.g) < 40 && std::abs(seen.b - colour.b) < 40;
  }

  int frames = 0;
  int blanks = 0;
  int width = 0;
  int height = 0;
  std::size_t stride = 0;
  std::vector<unsigned char> pixels;
};

// Ends the test program when a step that must return does not.
class Watchdog {
 public:
  explicit Watchdog(const char* what, int seconds = 20)
      : thread_([this, what, seconds] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (!woken_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; })) {
            std::fprintf(stderr, "%s did not return within %d s\n", what, seconds);
            std::abort();
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    woken_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  bool done_ = false;
  std::thread thread_;
};

class PreviewGraphTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new test::TempDir;
    const std::string dir = folder_->Folder();
    ASSERT_TRUE(test::WritePatternVideo(dir + "pattern.mp4"));
    ASSERT_TRUE(test::RunFfmpeg({"-i", dir + "pattern.mp4", "-an", "-c:v", "copy", dir + "picture-only.mp4"}));
    // Picture and sound in Matroska, then each relabelled with a codec no
    // decoder knows.
    ASSERT_TRUE(
        test::RunFfmpeg({"-f", "lavfi", "-i", "color=c=red:s=320x240:r=25:d=2", "-f", "lavfi", "-i", "sine=duration=2",
                         "-c:v", "mpeg4", "-c:a", "pcm_s16le", "-write_crc32", "0", "-shortest", dir + "both.mkv"}));
    ASSERT_TRUE(test::CopyReplacing(dir + "both.mkv", dir + "no-picture.mkv", "V_MPEG4/ISO/ASP", "V_ZZZZZ/ISO/ASP"));
    ASSERT_TRUE(test::CopyReplacing(dir + "both.mkv", dir + "no-sound.mkv", "A_PCM/INT/LIT", "A_ZZZ/INT/LIT"));
    std::ofstream(dir + "notes.mp4") << "just some text\n";
    std::mt19937 random(11);
    std::string noise(65536, '\0');
    for (char& byte : noise) byte = static_cast<char>(random());
    std::ofstream(dir + "noise.mp3", std::ios::binary) << noise;
    std::filesystem::create_directory(dir + "folder.mp4");
    ASSERT_EQ(mkfifo((dir + "pipe.mp4").c_str(), 0600), 0);
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  static std::string Path(const std::string& name) { return folder_->Folder() + name; }

  // What libmpv posts goes to the scheduler: a wait runs it as the program's
  // event loop would.
  void SetUp() override {
    test::SetEventPump([this] { scheduler.RunPending(); });
  }
  void TearDown() override { test::SetEventPump({}); }
  int64_t PositionMs() const { return graph->CurrentPosition() / 10000; }

  static test::TempDir* folder_;
  test::VirtualScheduler scheduler;
  RecordingArea area;
  std::unique_ptr<PreviewGraph> graph = std::make_unique<PreviewGraph>(scheduler, area, PreviewSettings{"null"});
};
test::TempDir* PreviewGraphTest::folder_ = nullptr;

TEST_F(PreviewGraphTest, RenderReturnsWithTheFirstPictureShownLetterBoxedAndPaused) {
  graph->SetActive(true);
  ASSERT_EQ(graph->Render(Path("pattern.mp4")), 0);
  EXPECT_GE(area.frames, 1);
  EXPECT_EQ(area.width, 253);
  EXPECT_EQ(area.height, 152);
  EXPECT_EQ(area.stride % 64, 0u);
  // 320 x 240 shown 203 pixels wide: black bars of 25 pixels either side.
  EXPECT_TRUE(area.ShowsAt(5, kBlack));
  EXPECT_TRUE(area.ShowsAt(70, kRed));
  EXPECT_TRUE(area.ShowsAt(180, kBlue));
  EXPECT_TRUE(area.ShowsAt(247, kBlack));
  EXPECT_EQ(graph->DurationMs(), 3000);
  EXPECT_EQ(graph->CurrentPosition(), 0);

  LetTimePass(300ms);  // a graph that played would move meanwhile
  EXPECT_EQ(graph->CurrentPosition(), 0);
  EXPECT_FALSE(graph->dstrckbrMainform().Enabled());
}

TEST_F(PreviewGraphTest, AStreamWithoutDecoderIsLeftOutAndCounted) {
  graph->SetActive(true);

  EXPECT_EQ(graph->Render(Path("no-picture.mkv")), 1);
  EXPECT_EQ(graph->DurationMs(), 2000);
  EXPECT_FALSE(area.Shows());
  graph->Play();
  EXPECT_TRUE(WaitUntil([&] { return PositionMs() >= 200; }));  // the sound plays

  EXPECT_EQ(graph->Render(Path("no-sound.mkv")), 1);
  EXPECT_TRUE(area.ShowsAt(126, kRed));
  EXPECT_EQ(graph->DurationMs(), 2000);
}

TEST_F(PreviewGraphTest, RenderFailsForWhatIsNoPlayableMediaAndLeavesTheGraphEmpty) {
  EXPECT_THROW(graph->Render(Path("pattern.mp4")), MediaGraphError);  // inactive
  graph->SetActive(true);
  for (const char* name : {"notes.mp4", "noise.mp3", "missing.mp4", "folder.mp4", "pipe.mp4"}) {
    SCOPED_TRACE(name);
    graph->Render(Path("pattern.mp4"));
    ASSERT_TRUE(area.Shows());
    Watchdog watchdog(name);  // a pipe must never be opened
    EXPECT_THROW(graph->Render(Path(name)), MediaGraphError);
    EXPECT_TRUE(graph->Active());
    EXPECT_FALSE(area.Shows());
    EXPECT_THROW(graph->DurationMs(), MediaGraphError);
    EXPECT_THROW(graph->CurrentPosition(), MediaGraphError);
  }
  // The graph still plays what it can.
  EXPECT_EQ(graph->Render(Path("pattern.mp4")), 0);
}

TEST_F(PreviewGraphTest, ALoadThatDoesNotStartInTimeFailsAndLeavesNothingBehind) {
  PreviewSettings impatient{"null"};
  impatient.loadWaitMs = 1;
  graph = std::make_unique<PreviewGraph>(scheduler, area, impatient);
  graph->SetActive(true);
  EXPECT_THROW(graph->Render(Path("pattern.mp4")), MediaGraphError);
  LetTimePass(500ms);  // whatever libmpv still had under way
  EXPECT_FALSE(area.Shows());
  EXPECT_THROW(graph->DurationMs(), MediaGraphError);
  EXPECT_TRUE(graph->Active());
}

TEST_F(PreviewGraphTest, SeekMovesPositionAndPictureAbsolutely) {
  graph->SetActive(true);
  graph->Render(Path("pattern.mp4"));

  graph->SeekTo(2000);
  EXPECT_EQ(graph->CurrentPosition(), 2000 * 10000);  // at once, in 100-ns units
  EXPECT_TRUE(WaitUntil([&] { return area.ShowsAt(180, kGreen); }));
  LetTimePass(200ms);                   // a graph that played would move meanwhile
  EXPECT_NEAR(PositionMs(), 2000, 40);  // still paused there

  graph->SeekTo(500);
  EXPECT_TRUE(WaitUntil([&] { return area.ShowsAt(180, kBlue); }));
  EXPECT_NEAR(PositionMs(), 500, 40);
  graph->SeekTo(-100);
  EXPECT_EQ(graph->CurrentPosition(), 0);

  graph->Clear();
  EXPECT_NO_THROW(graph->SeekTo(1000));  // nothing rendered: nothing to move
  graph->SetActive(false);
  EXPECT_THROW(graph->SeekTo(1000), MediaGraphError);
}

TEST_F(PreviewGraphTest, PlayAdvancesPauseAndStopHoldAndTheTrackBarFollows) {
  std::vector<std::pair<uint32_t, uint32_t>> ticks;
  PositionTrackBar& bar = graph->dstrckbrMainform();
  bar.OnTimer = [&](uint32_t current, uint32_t duration) { ticks.emplace_back(current, duration); };
  graph->SetActive(true);
  graph->Render(Path("pattern.mp4"));

  graph->Play();
  EXPECT_TRUE(bar.Enabled());
  EXPECT_TRUE(WaitUntil([&] { return PositionMs() >= 300; }));
  scheduler.AdvanceBy(1000);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_GE(ticks[0].first, 300u);
  EXPECT_EQ(ticks[0].second, 3000u);

  for (auto hold : {&PreviewGraph::Pause, &PreviewGraph::Stop}) {
    ((*graph).*hold)();
    EXPECT_FALSE(bar.Enabled());
    LetTimePass(150ms);  // the request reaches libmpv's thread
    const int64_t held = PositionMs();
    LetTimePass(300ms);  // a graph still playing would move meanwhile
    EXPECT_EQ(PositionMs(), held);
    scheduler.AdvanceBy(3000);
    EXPECT_EQ(ticks.size(), 1u);

    graph->Play();  // goes on from where it was held
    EXPECT_TRUE(WaitUntil([&] { return PositionMs() >= held + 200; }));
  }
}

TEST_F(PreviewGraphTest, AtTheEndThePositionEqualsTheDuration) {
  graph->SetActive(true);
  // Without sound the last picture's time, 2.96 s, is where libmpv stops.
  for (const char* name : {"pattern.mp4", "picture-only.mp4"}) {
    SCOPED_TRACE(name);
    graph->Render(Path(name));
    graph->SeekTo(2700);
    graph->Play();
    EXPECT_TRUE(WaitUntil([&] { return graph->CurrentPosition() >= graph->DurationMs() * 10000; }));
    EXPECT_TRUE(area.ShowsAt(180, kGreen));
    EXPECT_EQ(graph->DurationMs(), 3000);  // the file stays rendered
    graph->SeekTo(0);
    EXPECT_TRUE(WaitUntil([&] { return area.ShowsAt(180, kBlue); }));
    EXPECT_LT(graph->CurrentPosition(), graph->DurationMs() * 10000);
  }
}

TEST_F(PreviewGraphTest, DeactivationEndsPlaybackAndAFreshActivationLoadsAgain) {
  graph->SetActive(true);
  graph->Render(Path("pattern.mp4"));
  graph->Play();
  ASSERT_TRUE(WaitUntil([&] { return PositionMs() >= 100; }));

  graph->SetActive(false);
  EXPECT_FALSE(graph->Active());
  EXPECT_FALSE(graph->dstrckbrMainform().Enabled());
  EXPECT_FALSE(area.Shows());
  EXPECT_THROW(graph->CurrentPosition(), MediaGraphError);
  EXPECT_THROW(graph->Play(), MediaGraphError);
  const int frames = area.frames;
  LetTimePass(200ms);  // a picture still on its way would be drawn meanwhile
  EXPECT_EQ(area.frames, frames);

  graph->SetActive(true);
  EXPECT_THROW(graph->DurationMs(), MediaGraphError);  // nothing rendered
  EXPECT_EQ(graph->Render(Path("pattern.mp4")), 0);
  EXPECT_TRUE(area.ShowsAt(70, kRed));
  EXPECT_EQ(graph->CurrentPosition(), 0);
}

TEST_F(PreviewGraphTest, ReleasingTheGraphWhilePlayingReturnsAndNothingRunsAfter) {
  graph->Prepare();
  graph->SetActive(true);
  graph->Render(Path("pattern.mp4"));
  graph->Play();
  ASSERT_TRUE(WaitUntil([&] { return area.frames >= 5; }));
  {
    Watchdog watchdog("releasing a playing graph");
    graph.reset();
  }
  const int frames = area.frames;
  LetTimePass(200ms);  // drains libmpv posted before it went
  EXPECT_EQ(area.frames, frames);

  // A graph prepared but never used goes as quietly.
  auto unused = std::make_unique<PreviewGraph>(scheduler, area, PreviewSettings{"null"});
  unused->Prepare();
  Watchdog watchdog("releasing a prepared graph");
  unused.reset();
}

// Takes what is written to standard output and standard error while it lives.
class CapturedTerminal {
 public:
  CapturedTerminal() : file_(std::tmpfile()) {
    std::fflush(nullptr);
    for (int fd : {1, 2}) {
      saved_[fd - 1] = dup(fd);
      dup2(fileno(file_), fd);
    }
  }
  ~CapturedTerminal() { Release(); }
  std::string Release() {
    if (!file_) return text_;
    std::fflush(nullptr);
    for (int fd : {1, 2}) {
      dup2(saved_[fd - 1], fd);
      close(saved_[fd - 1]);
    }
    std::rewind(file_);
    char buffer[4096];
    while (std::size_t count = std::fread(buffer, 1, sizeof buffer, file_)) text_.append(buffer, count);
    std::fclose(file_);
    file_ = nullptr;
    return text_;
  }

 private:
  FILE* file_;
  int saved_[2] = {};
  std::string text_;
};

TEST_F(PreviewGraphTest, NeitherLibmpvNorTheMediaLibrariesWriteToTheTerminal) {
  CapturedTerminal terminal;
  graph->SetActive(true);
  graph->Render(Path("no-picture.mkv"));
  EXPECT_THROW(graph->Render(Path("noise.mp3")), MediaGraphError);
  graph.reset();
  // After the player has gone, a probe of damaged data stays as quiet.
  ProbeGraph probe;
  probe.SetActive(true);
  EXPECT_THROW(probe.Render(Path("noise.mp3")), MediaGraphError);
  EXPECT_EQ(probe.Render(Path("no-picture.mkv")), 1);
  EXPECT_EQ(terminal.Release(), "");
}

TEST_F(PreviewGraphTest, WithoutASoundDeviceItPlaysSilentlyAndQuietly) {
  // The machine's sound as the program asks for it, where neither a sound
  // server nor an ALSA device can be reached: nothing can sound.
  ASSERT_EQ(setenv("PULSE_SERVER", ("unix:" + Path("no-server")).c_str(), 1), 0);
  ASSERT_EQ(setenv("ALSA_CONFIG_PATH", folder_->WriteFile("no-devices.conf").c_str(), 1), 0);
  graph = std::make_unique<PreviewGraph>(scheduler, area);
  CapturedTerminal terminal;
  graph->SetActive(true);
  EXPECT_EQ(graph->Render(Path("no-picture.mkv")), 1);  // nothing but sound
  graph->Play();
  EXPECT_TRUE(WaitUntil([&] { return PositionMs() >= 300; }));
  graph.reset();
  EXPECT_EQ(terminal.Release(), "");
  unsetenv("PULSE_SERVER");
  unsetenv("ALSA_CONFIG_PATH");
}

// A graph whose reads give what the test sets, or fail.
class ScriptedGraph : public MediaGraph {
 public:
  bool Active() const override { return true; }
  void SetActive(bool) override {}
  void Clear() override {}
  int Render(const std::string&) override { return 0; }
  void Play() override {}
  void Pause() override {}
  void Stop() override {}
  int64_t DurationMs() const override {
    if (durationFails) throw MediaGraphError("no duration");
    return durationMs;
  }
  int64_t CurrentPosition() const override {
    if (positionFails) throw MediaGraphError("no position");
    return position;
  }
  void SeekTo(int64_t) override {}

  int64_t durationMs = 0;
  int64_t position = 0;  // 100-ns units
  bool durationFails = false;
  bool positionFails = false;
};

TEST(PositionTrackBar, TicksEverySecondWhileEnabledWithPositionAndDurationInMilliseconds) {
  test::VirtualScheduler scheduler;
  ScriptedGraph graph;
  PositionTrackBar bar(scheduler, graph);
  std::vector<std::pair<uint32_t, uint32_t>> ticks;
  bar.OnTimer = [&](uint32_t current, uint32_t duration) { ticks.emplace_back(current, duration); };
  EXPECT_EQ(bar.TimerInterval(), 1000);
  graph.durationMs = 3000;
  graph.position = 15'000'000;

  scheduler.AdvanceBy(5000);
  EXPECT_TRUE(ticks.empty());  // not started
  bar.Start();
  scheduler.AdvanceBy(999);
  EXPECT_TRUE(ticks.empty());
  scheduler.AdvanceBy(1);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0], std::make_pair(1500u, 3000u));
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 3);
  EXPECT_EQ(bar.Position(), 1);

  // current, duration -> what is raised, the bar's maximum and position
  const struct {
    int64_t position;
    int64_t durationMs;
    uint32_t currentMs;
    int max;
    int barPosition;
  } cases[] = {
      {29'999'999, 3000, 2999, 3, 2},
      {35'999'000'000, 3'600'000, 3'599'900, 3600, 3599},
      {3'600'000'000'000, 360'000'000, 360'000'000, 360000, 360000},
      {31'000'000, 3000, 3100, 3, 3},  // a position past the end keeps the thumb at the end
  };
  for (const auto& c : cases) {
    graph.position = c.position;
    graph.durationMs = c.durationMs;
    ticks.clear();
    scheduler.AdvanceBy(1000);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0], std::make_pair(c.currentMs, static_cast<uint32_t>(c.durationMs)));
    EXPECT_EQ(bar.Max(), c.max);
    EXPECT_EQ(bar.Position(), c.barPosition);
  }

  bar.Stop();
  ticks.clear();
  scheduler.AdvanceBy(5000);
  EXPECT_TRUE(ticks.empty());
}

TEST(PositionTrackBar, ATickWhoseReadsFailDoesNothing) {
  test::VirtualScheduler scheduler;
  ScriptedGraph graph;
  PositionTrackBar bar(scheduler, graph);
  int ticks = 0;
  bar.OnTimer = [&](uint32_t, uint32_t) { ++ticks; };
  graph.durationMs = 10'000;
  graph.position = 40'000'000;
  bar.Start();
  scheduler.AdvanceBy(1000);
  ASSERT_EQ(ticks, 1);

  graph.durationMs = 20'000;
  graph.position = 90'000'000;
  for (auto fails : {&ScriptedGraph::durationFails, &ScriptedGraph::positionFails}) {
    graph.*fails = true;
    scheduler.AdvanceBy(1000);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(bar.Max(), 10);
    EXPECT_EQ(bar.Position(), 4);
    EXPECT_TRUE(bar.Enabled());
    graph.*fails = false;
  }
}

}  // namespace
}  // namespace sonvarro
