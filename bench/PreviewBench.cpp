// Measures the preview in the running program: the time from a play command
// to the first picture painted in the video area, and the program's CPU use
// while the preview is paused. Driven by scripts/bench-preview.sh.
//
//   preview_bench <application folder> <video> [runs] [seconds to go on playing at the end]

#include <sys/resource.h>

#include <QEvent>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "TerminalDesktop.h"
#include "app/AppRoot.h"
#include "ui/Application.h"

namespace sonvarro {
namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); }

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Notes when the video area paints with a picture.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(VideoWindow& area) : area_(area) { area.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && area_.HasFrame() && !painted) painted = Clock::now();
    return false;
  }
  std::optional<Clock::time_point> painted;

 private:
  VideoWindow& area_;
};

bool WaitFor(const std::function<bool()>& done, int maxMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(maxMs);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  }
  return true;
}

// The open dialog always chooses the video; nothing else is asked.
struct ChosenVideo : IUserDialogs {
  std::string video;
  explicit ChosenVideo(std::string path) : video(std::move(path)) {}
  std::vector<std::string> OpenSourceFiles(const std::string&) override { return {video}; }
  std::optional<std::string> PickOutputFolder() override { return std::nullopt; }
  std::optional<std::string> InputQuery(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
};

int Run(const std::string& appFolder, const std::string& video, int runs, int playOnSeconds) {
  TerminalDesktop desktop;
  ChosenVideo dialogs{video};
  AppSeams seams;
  seams.appFolder = appFolder;
  seams.desktop = &desktop;
  seams.dialogs = &dialogs;
  AppRoot root(seams);
  root.Show();
  VideoWindow& area = *root.MainWindowSkin().Widgets().DSVideoWindowEx1;
  if (!QTest::qWaitForWindowExposed(&root.MainWindowSkin())) {
    std::fprintf(stderr, "the main window did not show\n");
    return 1;
  }
  // The video in the list as a user adds it, its row selected.
  root.MainWindowSkin().Widgets().btnOpenFile->click();
  if (!WaitFor([&] { return !root.AddFilesPopupSkin().isVisible(); }, 30000) ||
      root.MainWindowSkin().Grid().RowCount() != 1) {
    std::fprintf(stderr, "cannot add %s to the list\n", video.c_str());
    return 1;
  }
  TFrmMainForm& form = root.MainWindowBehaviour();
  root.MainWindowSkin().Grid().SetSelected(0, true);
  QTest::qWait(1500);  // the program settles; the player, prepared on the first show, gets ready

  std::vector<double> firstFrames;
  for (int run = 0; run < runs; ++run) {
    form.btnStopClick();
    QTest::qWait(300);
    PaintWatch watch(area);
    // The play command with nothing loaded: load the selected row and play.
    const Clock::time_point play = Clock::now();
    form.btnPlayClick();
    if (root.Common().LoadedFile != video || !root.Proc().IsPlaying) {
      std::fprintf(stderr, "the play command did not play %s (see the log)\n", video.c_str());
      return 1;
    }
    if (!WaitFor([&] { return watch.painted.has_value(); }, 5000)) {
      std::fprintf(stderr, "no picture was painted\n");
      return 1;
    }
    firstFrames.push_back(Milliseconds(*watch.painted - play));
    std::printf("play to first picture, run %d: %7.1f ms\n", run + 1, firstFrames.back());
    QTest::qWait(700);
  }
  std::sort(firstFrames.begin(), firstFrames.end());
  std::printf("play to first picture, median: %7.1f ms (target: 150 ms)\n", firstFrames[firstFrames.size() / 2]);

  form.btnPauseClick();
  QTest::qWait(1000);
  const double cpuBefore = CpuSeconds();
  const Clock::time_point wallBefore = Clock::now();
  QTest::qWait(10000);
  const double cpu = CpuSeconds() - cpuBefore;
  const double wall = Milliseconds(Clock::now() - wallBefore) / 1000;
  std::printf("paused, idle CPU of the program: %5.2f %% of one core over %.1f s (target: below 2 %%)\n",
              100 * cpu / wall, wall);
  if (playOnSeconds > 0) {
    form.btnPlayClick();
    QTest::qWait(playOnSeconds * 1000);
  }
  form.btnStopClick();
  return 0;
}

}  // namespace
}  // namespace sonvarro

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <application folder> <video> [runs] [seconds to go on playing]\n", argv[0]);
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known
  sonvarro::Application application(argc, argv);
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  return sonvarro::Run(argv[1], argv[2], runs, argc > 4 ? std::atoi(argv[4]) : 0);
}
