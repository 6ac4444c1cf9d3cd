// Runs one long conversion job in the program, as a user would: every file
// of a folder added through the open dialog, some rows trimmed, an output
// type chosen, Convert pressed. Measures what the job leaves behind: the
// resident memory after the first file and at the end, the open file
// descriptors, the child processes and the threads before and after; then
// checks each output with ffprobe and the log for one line per file. Driven
// by scripts/bench-job.sh.
//
//   job_bench <application folder> <sources folder> <output folder> <output type 0-6> <ffprobe> [real pauses 0/1]
//
// Without real pauses the job's waits before and after the encoder starts
// are set to 0 through the timings seam; the 100 ms look for a running
// encoder and the runner's pause after each chunk of encoder output stay.

#include <unistd.h>

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ChosenFiles.h"
#include "LogMessages.h"
#include "TerminalDesktop.h"
#include "app/AppRoot.h"
#include "engine/OutputTables.h"
#include "services/TextFormats.h"
#include "sourcerows/SourceRows.h"
#include "ui/Application.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kRssTargetMb = 10;
// An output's length may differ from its row's trimmed length by this much
// (whole-second trims, encoder padding).
constexpr double kDurationSlackSeconds = 0.5;
// Every third row is trimmed: from this second to one second before its end.
constexpr int kTrimEvery = 3;
constexpr int kTrimStartSeconds = 2;
constexpr int kMostSecondsPerFile = 120;

double Seconds(Clock::duration span) { return std::chrono::duration<double>(span).count(); }

// The resident memory of this process, in MB.
double ResidentMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
  return -1;
}

// What each open descriptor of this process refers to, by number.
std::map<int, std::string> OpenDescriptors() {
  std::map<int, std::string> open;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd", error)) {
    std::error_code linkError;
    open[std::atoi(entry.path().filename().c_str())] = fs::read_symlink(entry.path(), linkError).string();
  }
  return open;
}

int CountEntries(const char* folder) {
  std::error_code error;
  int count = 0;
  for (auto it = fs::directory_iterator(folder, error); !error && it != fs::directory_iterator(); it.increment(error))
    ++count;
  return count;
}

struct Child {
  std::string name;
  bool zombie = false;  // ended, not reaped
};

// This process's children by id, found by their parent in /proc (a thread's
// children count as the process's); ended ones not yet reaped included.
std::map<long, Child> OwnChildren() {
  std::map<long, Child> children;
  const long self = ::getpid();
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream statFile(entry.path() / "stat");
    std::string stat;
    std::getline(statFile, stat);
    // pid (comm) state ppid ...; the command name may hold blanks and ")".
    const auto open = stat.find('('), close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos) continue;
    char state = 0;
    long parent = 0;
    if (std::sscanf(stat.c_str() + close + 1, " %c %ld", &state, &parent) != 2 || parent != self) continue;
    children[std::atol(name.c_str())] = {stat.substr(open + 1, close - open - 1), state == 'Z'};
  }
  return children;
}

bool WaitFor(const std::function<bool()>& done, double maxSeconds, const std::function<void()>& meanwhile = {}) {
  const auto deadline =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(maxSeconds));
  while (!done()) {
    if (Clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (meanwhile) meanwhile();
  }
  return true;
}

std::vector<std::string> SourcesIn(const std::string& folder) {
  std::vector<std::string> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// The source and the output a "parameter: " line names: the first and the
// last quoted paths of its command line.
std::optional<std::pair<std::string, std::string>> SourceAndOutput(const std::string& line) {
  const auto sourceStart = line.find('"');
  const auto sourceEnd = line.find('"', sourceStart + 1);
  const auto outputEnd = line.rfind('"');
  const auto outputStart = line.rfind('"', outputEnd - 1);
  if (sourceStart == std::string::npos || outputEnd <= sourceEnd || outputStart <= sourceEnd) return std::nullopt;
  return std::make_pair(line.substr(sourceStart + 1, sourceEnd - sourceStart - 1),
                        line.substr(outputStart + 1, outputEnd - outputStart - 1));
}

struct Probed {
  std::string codec;
  double seconds = 0;  // from the start to the end of the last audio packet
  std::string error;
};

// The first audio stream's codec and length, by its packets (a raw AAC or
// AMR file has no length in its header).
Probed Probe(const std::string& ffprobe, const std::string& file) {
  Probed probed;
  QProcess tool;
  tool.start(QString::fromStdString(ffprobe), {"-v", "error", "-select_streams", "a:0", "-show_entries",
                                               "stream=codec_name:packet=pts_time,duration_time", "-of",
                                               "compact=p=0:nk=0", QString::fromStdString(file)});
  if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
    probed.error = "ffprobe failed: " + tool.readAllStandardError().trimmed().toStdString();
    return probed;
  }
  for (const QByteArray& line : tool.readAllStandardOutput().split('\n')) {
    double pts = NAN, duration = 0;
    for (const QByteArray& field : line.split('|')) {
      const auto equals = field.indexOf('=');
      if (equals < 0) continue;
      const QByteArray key = field.left(equals), value = field.mid(equals + 1).trimmed();
      if (key == "codec_name") probed.codec = value.toStdString();
      if (key == "pts_time" && value != "N/A") pts = value.toDouble();
      if (key == "duration_time" && value != "N/A") duration = value.toDouble();
    }
    if (!std::isnan(pts)) probed.seconds = std::max(probed.seconds, pts + duration);
  }
  if (probed.codec.empty()) probed.error = "no audio stream";
  return probed;
}

// The codec an output type writes, as FFmpeg names it: the value of its
// "-acodec" fragment.
std::string CodecOf(int outputType) {
  const std::string_view fragment = OutputTypeTable[outputType].codecFragment;
  const std::string_view afterOption = fragment.substr(fragment.find(' ') + 1);
  return std::string(afterOption.substr(0, afterOption.find(' ')));
}

struct Usage {
  std::map<int, std::string> descriptors;
  std::map<long, Child> children;
  int threads = 0;
};

Usage Measure() { return {OpenDescriptors(), OwnChildren(), CountEntries("/proc/self/task")}; }

int Run(const std::string& appFolder, const std::string& sourcesFolder, const std::string& outputFolder, int outputType,
        const std::string& ffprobe, bool realPauses) {
  bench::TerminalDesktop desktop;
  bench::ChosenFiles dialogs;
  dialogs.files = SourcesIn(sourcesFolder);
  const int files = static_cast<int>(dialogs.files.size());
  if (files == 0) {
    std::fprintf(stderr, "no sources in %s\n", sourcesFolder.c_str());
    return 2;
  }
  AppSeams seams;
  seams.appFolder = appFolder;
  seams.desktop = &desktop;
  seams.dialogs = &dialogs;
  if (!realPauses) seams.timings = ConversionTimings{0, 0, ConversionTimings{}.encoderPollMs};
  AppRoot root(seams);
  root.Show();
  MainWindow& window = root.MainWindowSkin();
  if (!QTest::qWaitForWindowExposed(&window) || root.TerminationRequested()) {
    std::fprintf(stderr, "the main window did not show\n");
    return 2;
  }
  MainWindowWidgets& widgets = window.Widgets();
  ISourceGrid& grid = window.Grid();

  // The user's choices: the output type from its list, the output folder,
  // nothing to do after the job.
  widgets.cbbOutputFiletype->setCurrentIndex(outputType);
  emit widgets.cbbOutputFiletype->activated(outputType);
  widgets.outputFolder.SetText(outputFolder);
  widgets.showOutputDirectory.SetChecked(false);
  widgets.shutdown.SetChecked(false);

  const Clock::time_point addStarted = Clock::now();
  widgets.btnOpenFile->click();
  if (!WaitFor([&] { return !root.AddFilesPopupSkin().isVisible() && grid.RowCount() > 0; }, 600) ||
      grid.RowCount() != files) {
    std::fprintf(stderr, "%d of %d files were added (see the log)\n", grid.RowCount(), files);
    return 2;
  }
  const double addSeconds = Seconds(Clock::now() - addStarted);
  // Typed trims, as the grid's time editors post them.
  for (int row = 0; row < files; row += kTrimEvery) {
    const std::optional<int64_t> duration = ReadTimeText(grid.Cell(row, kColDuration));
    if (!duration || *duration <= kTrimStartSeconds + 2) continue;
    grid.SetCell(row, kColStartTime, TimeText(kTrimStartSeconds));
    grid.SetCell(row, kColEndTime, TimeText(*duration - 1));
    root.MainWindowBehaviour().dxTreeSourceFileInfoEdited(row);
  }
  std::map<std::string, int> cutSeconds;
  for (int row = 0; row < files; ++row)
    cutSeconds[grid.Cell(row, kColFileName)] = static_cast<int>(ReadTimeText(grid.Cell(row, kColCutTime)).value_or(-1));

  std::printf("type: %s, files: %d (added in %.1f s), pauses: %s\n",
              std::string(OutputTypeTable[outputType].caption).c_str(), files, addSeconds,
              realPauses ? "the program's own" : "skipped (2 s and 3 s set to 0)");
  QTest::qWait(500);  // the add-files popup's last timers run out
  const Usage before = Measure();
  const double rssBefore = ResidentMb();

  TCustomProc& proc = root.Proc();
  const int checkpoints = std::max(1, files / 4);
  std::optional<double> rssAfterFirst;
  double rssPeak = rssBefore;
  int reported = 0;
  const Clock::time_point jobStarted = Clock::now();
  widgets.btnConvert->click();
  const bool ended = WaitFor(
      [&] { return !root.Conversion().Running(); }, double(files) * kMostSecondsPerFile,
      [&] {
        const double rss = ResidentMb();
        rssPeak = std::max(rssPeak, rss);
        if (proc.ConvertedCount >= 1 && !rssAfterFirst) rssAfterFirst = rss;
        if (proc.ConvertedCount > reported && proc.ConvertedCount % checkpoints == 0 && proc.ConvertedCount < files) {
          reported = proc.ConvertedCount;
          std::printf("  after %3d files: RSS %.1f MB, %.1f s\n", reported, rss, Seconds(Clock::now() - jobStarted));
        }
      });
  const double jobSeconds = Seconds(Clock::now() - jobStarted);
  const double rssEnd = ResidentMb();
  const Usage after = Measure();
  if (!ended) {
    std::fprintf(stderr, "the job did not end within %d s a file; at row %d\n", kMostSecondsPerFile, proc.CurrentRow);
    return 2;
  }

  // The log: one "parameter: " line per file, each source once.
  int parameterLines = 0, errorLines = 0;
  std::map<std::string, std::string> outputOf;
  std::set<std::string> namedTwice;
  for (const std::string& message : test::LogMessages(root.AppFunc().GetDataPath())) {
    if (StartsWith(message, "Convert error. ->")) {
      ++errorLines;
      std::printf("  %s\n", message.c_str());
    }
    if (!StartsWith(message, "parameter: ")) continue;
    ++parameterLines;
    if (const auto named = SourceAndOutput(message)) {
      if (!outputOf.emplace(named->first, named->second).second) namedTwice.insert(named->first);
    }
  }
  int unlogged = 0;
  for (const std::string& source : dialogs.files) unlogged += outputOf.count(source) == 0;
  const bool logComplete = parameterLines == files && unlogged == 0 && namedTwice.empty();

  // Every output: the type's codec, a length near its row's trimmed length.
  const std::string codec = CodecOf(outputType);
  int valid = 0;
  double largestGap = 0;
  for (const std::string& source : dialogs.files) {
    const auto output = outputOf.find(source);
    if (output == outputOf.end()) continue;
    const Probed probed = Probe(ffprobe, output->second);
    const double gap = std::fabs(probed.seconds - cutSeconds[source]);
    if (probed.error.empty()) largestGap = std::max(largestGap, gap);
    if (probed.error.empty() && probed.codec == codec && probed.seconds > 0 && gap <= kDurationSlackSeconds) {
      ++valid;
    } else {
      std::printf("  not valid: %s: %s, codec %s, %.2f s for a trim of %d s\n", output->second.c_str(),
                  probed.error.empty() ? "probed" : probed.error.c_str(), probed.codec.c_str(), probed.seconds,
                  cutSeconds[source]);
    }
  }

  const double rssGrowth = rssEnd - rssAfterFirst.value_or(rssEnd);
  const bool rssOk = rssAfterFirst && std::fabs(rssGrowth) <= kRssTargetMb;
  const bool descriptorsOk = after.descriptors.size() <= before.descriptors.size();
  int childrenLeft = 0;
  for (const auto& [pid, child] : after.children) childrenLeft += before.children.count(pid) == 0;
  const bool childrenOk = childrenLeft == 0;
  std::printf("outputs valid: %d of %d (codec %s, length within %.1f s of the trim; largest gap %.2f s)\n", valid,
              files, codec.c_str(), kDurationSlackSeconds, largestGap);
  std::printf(
      "log lines complete: %s (%d \"parameter:\" lines for %d files, %d not logged, %zu twice, %d \"Convert "
      "error\" lines)\n",
      logComplete ? "yes" : "NO", parameterLines, files, unlogged, namedTwice.size(), errorLines);
  std::printf(
      "RSS before the job %.1f MB, after the first file %.1f MB, at the end %.1f MB, difference %+.1f MB "
      "(target: within %.0f MB), peak %.1f MB\n",
      rssBefore, rssAfterFirst.value_or(-1), rssEnd, rssGrowth, kRssTargetMb, rssPeak);
  std::printf("open fds before/after: %zu/%zu\n", before.descriptors.size(), after.descriptors.size());
  for (const auto& [fd, target] : after.descriptors)
    if (before.descriptors.count(fd) == 0) std::printf("  left open: fd %d -> %s\n", fd, target.c_str());
  std::printf("child processes before/after: %zu/%zu, %d left by the job (target: none)\n", before.children.size(),
              after.children.size(), childrenLeft);
  for (const auto& [pid, child] : after.children)
    if (before.children.count(pid) == 0)
      std::printf("  left: %ld %s%s\n", pid, child.name.c_str(), child.zombie ? " (ended, not reaped)" : "");
  std::printf("threads before/after: %d/%d\n", before.threads, after.threads);
  std::printf("total time: %.1f s (%.2f s a file), message boxes: %d\n", jobSeconds, jobSeconds / files,
              desktop.messages);
  const bool passed = valid == files && logComplete && rssOk && descriptorsOk && childrenOk;
  std::printf("result: %s\n", passed ? "all targets met" : "TARGETS MISSED");
  return passed ? 0 : 1;
}

}  // namespace
}  // namespace sonvarro

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr,
                 "usage: %s <application folder> <sources folder> <output folder> <output type 0-6> <ffprobe> "
                 "[real pauses 0/1]\n",
                 argv[0]);
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known
  sonvarro::Application application(argc, argv);
  const int type = std::atoi(argv[4]);
  if (type < 0 || type >= sonvarro::kOutputTypeCount) {
    std::fprintf(stderr, "the output type is a number from 0 to %d\n", sonvarro::kOutputTypeCount - 1);
    return 2;
  }
  return sonvarro::Run(argv[1], argv[2], argv[3], type, argv[5], argc > 6 && std::atoi(argv[6]) != 0);
}
