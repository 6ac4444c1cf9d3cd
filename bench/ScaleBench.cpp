// Measures the program at scale in the running main window: adding 1,000
// files at once (dropped, and chosen in the open dialog) against the probe
// alone, and the answers of the source list with 10,000 rows, with the
// program's resident memory. Driven by scripts/bench-scale.sh.
//
//   scale_bench <application folder> <folder of files to add> <folder of 10,000 files> [runs]

#include <QDir>
#include <QDirIterator>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ChosenFiles.h"
#include "TerminalDesktop.h"
#include "app/AppRoot.h"
#include "player/ProbeGraph.h"
#include "sourcelist/Probe.h"
#include "sourcelist/SourceFiles.h"
#include "ui/Application.h"

namespace sonvarro {
namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); }

double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
  }
  return 0;
}

// The paints of the windows that matter while files come in: when each
// painted last, and the longest time between two of its paints.
class PaintGaps : public QObject {
 public:
  struct Window {
    QWidget* window;
    Clock::time_point last;
    double longestMs = 0;
    int paints = 0;
  };
  PaintGaps(std::vector<QWidget*> windows) {
    for (QWidget* w : windows) windows_.push_back({w, {}, 0, 0});
    qApp->installEventFilter(this);
  }
  ~PaintGaps() override { qApp->removeEventFilter(this); }
  void Start() {
    const Clock::time_point now = Clock::now();
    for (Window& w : windows_) w = {w.window, now, 0, 0};
  }
  // The time from the last paint to now counts as a gap too.
  const Window& Stop(size_t index) {
    Window& w = windows_[index];
    w.longestMs = std::max(w.longestMs, Milliseconds(Clock::now() - w.last));
    return w;
  }
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() != QEvent::Paint || !object->isWidgetType()) return false;
    QWidget* top = static_cast<QWidget*>(object)->window();
    for (Window& w : windows_) {
      // A window's paint event arrives once for each widget: one repaint
      // is a run of them at the same moment.
      if (w.window != top) continue;
      const Clock::time_point now = Clock::now();
      if (now - w.last > std::chrono::milliseconds(1)) ++w.paints;
      w.longestMs = std::max(w.longestMs, Milliseconds(now - w.last));
      w.last = now;
    }
    return false;
  }

 private:
  std::vector<Window> windows_;
};

// Answers "Error Info" as a user would, and counts the files it named.
class ErrorInfoAnswer : public QObject {
 public:
  explicit ErrorInfoAnswer(CodeErrorDialog& dialog) : dialog_(dialog) { dialog.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      ++shows;
      QTimer::singleShot(0, &dialog_, [this] { dialog_.btnOK->click(); });
    }
    return false;
  }
  int shows = 0;

 private:
  CodeErrorDialog& dialog_;
};

// The longest time the event loop did not come round: while it is away no
// window can paint, whatever changed.
class LoopStalls : public QObject {
 public:
  LoopStalls() {
    beat_.setInterval(5);
    connect(&beat_, &QTimer::timeout, this, [this] {
      const Clock::time_point now = Clock::now();
      longestMs_ = std::max(longestMs_, Milliseconds(now - last_));
      last_ = now;
    });
  }
  void Start() {
    last_ = Clock::now();
    longestMs_ = 0;
    beat_.start();
  }
  double Stop() {
    beat_.stop();
    return std::max(longestMs_, Milliseconds(Clock::now() - last_));
  }

 private:
  QTimer beat_;
  Clock::time_point last_;
  double longestMs_ = 0;
};

bool WaitFor(const std::function<bool()>& done, int maxMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(maxMs);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  }
  return true;
}

// The files in folder and its subfolders, by name.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  QDirIterator entries(QString::fromStdString(folder), QDir::Files, QDirIterator::Subdirectories);
  while (entries.hasNext()) files.push_back(entries.next().toStdString());
  std::sort(files.begin(), files.end());
  return files;
}

void Drop(QWidget& window, const std::vector<std::string>& files) {
  QList<QUrl> urls;
  for (const std::string& file : files) urls << QUrl::fromLocalFile(QString::fromStdString(file));
  QMimeData mime;
  mime.setUrls(urls);
  const QPoint centre = window.rect().center();
  // A drop follows the drag's entry into the window.
  QDragEnterEvent enter(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &enter);
  QDropEvent drop(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &drop);
}

struct Figures {
  std::vector<double> ms;
  void Add(double value) { ms.push_back(value); }
  void Print(const char* what, double targetMs) {
    std::sort(ms.begin(), ms.end());
    std::printf("  %-34s median %7.1f ms, worst %7.1f ms  (target: %.0f ms)\n", what, ms[ms.size() / 2], ms.back(),
                targetMs);
  }
};

// The time from an action to the moment the program has answered it: its
// handlers have run and what they changed has been painted.
double Answer(const std::function<void()>& action) {
  const Clock::time_point start = Clock::now();
  action();
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  return Milliseconds(Clock::now() - start);
}

class Bench {
 public:
  Bench(const std::string& appFolder) {
    seams_.appFolder = appFolder;
    seams_.desktop = &desktop_;
    seams_.dialogs = &dialogs_;
    root_ = std::make_unique<AppRoot>(seams_);
  }

  int Run(const std::vector<std::string>& toAdd, const std::vector<std::string>& rows, int runs) {
    root_->Show();
    if (!QTest::qWaitForWindowExposed(&root_->MainWindowSkin())) {
      std::fprintf(stderr, "the main window did not show\n");
      return 1;
    }
    // Start-up ends (the splash closes) before the window takes drops.
    if (!WaitFor([&] { return root_->MainWindowBehaviour().DropsAccepted(); }, 20000)) {
      std::fprintf(stderr, "start-up did not end\n");
      return 1;
    }
    QTest::qWait(500);
    const double startMb = ResidentMegabytes();
    if (!AddThousand(toAdd)) return 1;
    Clear();
    QTest::qWait(500);
    if (!TenThousandRows(rows, runs, startMb)) return 1;
    return 0;
  }

 private:
  SourceGrid& Grid() { return root_->MainWindowSkin().Grid(); }
  MainWindowWidgets& Widgets() { return root_->MainWindowSkin().Widgets(); }
  void Clear() {
    Widgets().btnClearFile->click();
    QCoreApplication::processEvents();
  }

  bool AddThousand(const std::vector<std::string>& files) {
    std::printf("Adding %zu files at once\n", files.size());
    ProbeGraph graph;
    int readable = 0;
    const Clock::time_point probeStart = Clock::now();
    for (const std::string& file : files) {
      if (!IsAcceptedExtension(LowercaseExtension(file))) continue;
      if (ProbeDuration(file, graph) > 0) ++readable;
    }
    const double probeMs = Milliseconds(Clock::now() - probeStart);
    std::printf("  the probe alone:            %7.0f ms  (%.2f ms a file; %d readable; target: 2000 ms)\n", probeMs,
                probeMs / static_cast<double>(files.size()), readable);

    MainWindow& main = root_->MainWindowSkin();
    PaintGaps paints({&main, &root_->AddFilesPopupSkin()});
    ErrorInfoAnswer errorInfo(root_->ErrorInfoSkin());
    LoopStalls stalls;

    // Dropped on the window.
    paints.Start();
    stalls.Start();
    Clock::time_point start = Clock::now();
    Drop(main, files);
    if (!WaitFor([&] { return Grid().RowCount() == readable; }, 120000)) {
      std::fprintf(stderr, "the drop added %d rows, not %d\n", Grid().RowCount(), readable);
      return false;
    }
    double addMs = Milliseconds(Clock::now() - start);
    double stallMs = stalls.Stop();
    PaintGaps::Window mainPaints = paints.Stop(0);
    std::printf("  dropped, to the last row:   %7.0f ms  (%.2f x the probe alone)\n", addMs, addMs / probeMs);
    std::printf("    longest time between two paints of the main window: %5.0f ms (%d paints; target: 100 ms)\n",
                mainPaints.longestMs, mainPaints.paints);
    std::printf("    longest time the event loop was away (no window could paint): %5.0f ms\n", stallMs);
    std::printf("    bad files named by Error Info: %d (shown %d times)\n", errorInfo.shows, errorInfo.shows);
    Clear();
    QTest::qWait(300);

    // Chosen in the open dialog: the popup comes up and adds them.
    dialogs_.files = files;
    errorInfo.shows = 0;
    paints.Start();
    stalls.Start();
    start = Clock::now();
    Widgets().btnOpenFile->click();
    if (!WaitFor([&] { return !root_->AddFilesPopupSkin().isVisible() && Grid().RowCount() == readable; }, 120000)) {
      std::fprintf(stderr, "the open dialog added %d rows, not %d\n", Grid().RowCount(), readable);
      return false;
    }
    addMs = Milliseconds(Clock::now() - start);
    stallMs = stalls.Stop();
    mainPaints = paints.Stop(0);
    const PaintGaps::Window popupPaints = paints.Stop(1);
    std::printf("  chosen in the open dialog:  %7.0f ms  (%.2f x the probe alone; the popup waits 300 ms first)\n",
                addMs, addMs / probeMs);
    std::printf("    longest time between two paints of the main window: %5.0f ms (%d paints; target: 100 ms)\n",
                mainPaints.longestMs, mainPaints.paints);
    std::printf("    longest time the event loop was away (no window could paint): %5.0f ms\n", stallMs);
    std::printf("    longest time between two paints of the popup:       %5.0f ms (%d paints)\n", popupPaints.longestMs,
                popupPaints.paints);
    std::printf("    bad files named by Error Info: %d (shown %d times)\n", errorInfo.shows, errorInfo.shows);
    return true;
  }

  bool TenThousandRows(const std::vector<std::string>& files, int runs, double startMb) {
    const int count = static_cast<int>(files.size());
    std::printf("%d rows\n", count);
    const double beforeMb = ResidentMegabytes();
    const Clock::time_point start = Clock::now();
    Drop(root_->MainWindowSkin(), files);
    if (!WaitFor([&] { return Grid().RowCount() == count; }, 300000)) {
      std::fprintf(stderr, "the drop added %d rows, not %d\n", Grid().RowCount(), count);
      return false;
    }
    std::printf("  dropped, to the last row:   %7.0f ms\n", Milliseconds(Clock::now() - start));
    QTest::qWait(1500);  // the working set is trimmed every second
    std::printf("  resident memory: %.1f MB at start, %.1f MB before the rows, %.1f MB with them (target: 120 MB)\n",
                startMb, beforeMb, ResidentMegabytes());
    std::vector<SourceItem> items;
    for (int row = 0; row < count; ++row) {
      SourceItem item;
      for (int column = 0; column < kSourceColumnCount; ++column) item[column] = Grid().Cell(row, column);
      items.push_back(item);
    }

    Figures select, page, all, tick, removeHalf, clear;
    SourceGrid& grid = Grid();
    QWidget* view = grid.viewport();
    auto rowCentre = [&](int row, int column) { return grid.visualRect(grid.model()->index(row, column)).center(); };
    for (int run = 0; run < runs; ++run) {
      if (grid.RowCount() == 0) {
        for (const SourceItem& item : items) grid.AppendRow(item);
      }
      grid.clearSelection();
      grid.scrollToTop();
      QCoreApplication::processEvents();
      select.Add(Answer([&] { QTest::mouseClick(view, Qt::LeftButton, {}, rowCentre(3 + run, kColFileName)); }));
      page.Add(Answer([&] { QTest::keyClick(&grid, Qt::Key_PageDown); }));
      tick.Add(Answer([&] {
        const int row = grid.rowAt(view->height() / 2);
        QTest::mouseClick(view, Qt::LeftButton, {}, rowCentre(row, kColCheck));
      }));
      all.Add(Answer([&] { QTest::keyClick(&grid, Qt::Key_A, Qt::ControlModifier); }));
      // The lower half selected: a click on its first row, a shift-click on the last.
      grid.scrollTo(grid.model()->index(count / 2, 0), QAbstractItemView::PositionAtTop);
      QCoreApplication::processEvents();
      QTest::mouseClick(view, Qt::LeftButton, {}, rowCentre(count / 2, kColFileName));
      grid.scrollToBottom();
      QCoreApplication::processEvents();
      QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, rowCentre(count - 1, kColFileName));
      QCoreApplication::processEvents();
      removeHalf.Add(Answer([&] { QTest::keyClick(&grid, Qt::Key_Delete); }));
      if (grid.RowCount() != count - count / 2) {
        std::fprintf(stderr, "removing the lower half left %d rows\n", grid.RowCount());
        return false;
      }
      clear.Add(Answer([&] { Widgets().btnClearFile->click(); }));
    }
    select.Print("select a row (click):", 50);
    page.Print("scroll a page (Page Down):", 50);
    tick.Print("tick a check box (click):", 50);
    all.Print("select all (Ctrl+A):", 50);
    removeHalf.Print("remove the lower half (Delete):", 50);
    clear.Print("clear (the Clear button):", 50);
    std::printf("  resident memory after clearing: %.1f MB\n", ResidentMegabytes());
    return true;
  }

  bench::TerminalDesktop desktop_;
  bench::ChosenFiles dialogs_;
  AppSeams seams_;
  std::unique_ptr<AppRoot> root_;
};

}  // namespace
}  // namespace sonvarro

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <application folder> <files to add> <folder of 10,000 files> [runs]\n", argv[0]);
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known
  sonvarro::Application application(argc, argv);
  const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
  sonvarro::Bench bench(argv[1]);
  return bench.Run(sonvarro::FilesIn(argv[2]), sonvarro::FilesIn(argv[3]), runs);
}
