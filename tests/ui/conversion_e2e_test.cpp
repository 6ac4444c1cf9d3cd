// The conversion end to end: the real evc.exe, the real runner and process
// look-up, the progress window on a live Qt event loop.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QProcess>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "LogMessages.h"
#include "RecordingDesktop.h"
#include "SmallDisk.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "TestMedia.h"
#include "WaitUntil.h"
#include "app/AppRoot.h"
#include "engine/OptionLists.h"
#include "engine/OutputTables.h"
#include "player/ProbeGraph.h"
#include "services/TextFormats.h"
#include "services/platform/Processes.h"
#include "sourcelist/Probe.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;
using platform::MessageAnswer;
using test::LogMessagesStartingWith;
using test::RecordingDesktop;
using test::TempDir;

constexpr int kShortSeconds = 120;  // encodes in about a second or more: several output chunks
constexpr int kLongSeconds = 600;   // still encoding when the test stops it

using test::WaitUntil;

testing::AssertionResult Made(const std::string& path, int toolExitCode) {
  if (toolExitCode == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "ffmpeg exited with " << toolExitCode << " making " << path;
}

testing::AssertionResult MakeTone(const std::string& path, int seconds, const char* channels = "2") {
  fs::create_directories(fs::path(path).parent_path());
  const int code = QProcess::execute(QStringLiteral(SONVARRO_FFMPEG_TOOL),
                                     {"-v", "error", "-nostdin", "-f", "lavfi", "-i",
                                      QString("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds), "-ac",
                                      channels, "-y", QString::fromStdString(path)});
  return Made(path, code);
}

// A file that probes like any other (an Ogg file with a FLAC stream and its
// duration) but whose every audio frame is damaged, so nothing of it can be
// decoded: no damaged FLAC frame passes for a good one, its header has a sync
// code and a checksum.
testing::AssertionResult MakeUndecodable(const std::string& path, int seconds) {
  fs::create_directories(fs::path(path).parent_path());
  const int code =
      QProcess::execute(QStringLiteral(SONVARRO_FFMPEG_TOOL),
                        {"-v", "error", "-nostdin", "-f", "lavfi", "-i",
                         QString("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds), "-ac", "2", "-c:a",
                         "flac", "-bsf:a", "noise=amount=1", "-y", QString::fromStdString(path)});
  return Made(path, code);
}

// Sources shared by the tests, made once: a folder with blanks, "$" and a
// non-ASCII letter in its name.
class Media {
 public:
  static Media& Get() {
    static Media media;
    return media;
  }
  std::string shortFlac, otherFlac, shortWav, longFlac, undecodable;
  testing::AssertionResult made = testing::AssertionSuccess();  // the first source that could not be made

 private:
  Media() {
    const std::string src = dir_.Folder() + "src Ü $x/";
    shortFlac = src + "a/song.flac";
    otherFlac = src + "b/other.flac";
    shortWav = src + "c/song.wav";
    longFlac = src + "long one.flac";
    undecodable = src + "d/broken one.ogg";
    const testing::AssertionResult steps[] = {MakeTone(shortFlac, kShortSeconds), MakeTone(otherFlac, 5),
                                              MakeTone(shortWav, kShortSeconds, "1"), MakeTone(longFlac, kLongSeconds),
                                              MakeUndecodable(undecodable, 5)};
    for (const testing::AssertionResult& step : steps)
      if (!step) {
        made = step;
        break;
      }
  }
  TempDir dir_;
};

class ConversionEndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    media = &Media::Get();
    ASSERT_TRUE(media->made);
    fs::create_directories(appFolder);
    fs::copy_file(std::string(std::getenv("SONVARRO_APP_DIR")) + "/evc.exe", appFolder + "evc.exe");
    test::CopyCompanionLibraries(appFolder);  // the splash shows for real
    AppSeams seams = test::TestAppSeams(appFolder, desktop, dialogs);
    seams.quitApplication = [this] { ++quits; };
    seams.onJobFinished = [this] { ++finished; };
    root = std::make_unique<AppRoot>(std::move(seams));
    unit = &root->Conversion();
    MainWindow().show();  // fills the lists
    root->OptionControlViews().cbbOutputFiletype.SetItemIndex(kOutputMp3);
    ApplyProfile(root->OptionControlViews(), {});
    Widgets().outputFolder.SetText(out.Folder() + "converted");  // created by the job, "/" added
    Widgets().showOutputDirectory.SetChecked(false);
  }

  sonvarro::MainWindow& MainWindow() { return root->MainWindowSkin(); }
  MainWindowWidgets& Widgets() { return MainWindow().Widgets(); }
  ISourceGrid& Grid() { return MainWindow().Grid(); }
  TCustomProc& Proc() { return root->Proc(); }

  void AddRow(const std::string& path, int seconds, bool checked = true) {
    const std::string duration = TimeText(seconds);
    Grid().AppendRow({checked ? kCheckedText : kUncheckedText, path, "1 KB", duration, "00:00:00", duration, duration});
  }

  std::string OutFolder() const { return out.Folder() + "converted/"; }
  std::vector<std::string> Parameters() const { return LogMessagesStartingWith(appFolder, "parameter: "); }
  std::vector<std::string> ConvertErrors() const { return LogMessagesStartingWith(appFolder, "Convert error. ->"); }

  // Waits until the row's encoder runs and has printed.
  testing::AssertionResult UntilEncoderOfRowPrints(int row) {
    TCustomProc& proc = Proc();
    if (WaitUntil([&] { return proc.CurrentRow == row && proc.EncoderRunner && proc.RefreshCount >= 1; }))
      return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the encoder of row " << row << " did not print; " << JobState();
  }

  testing::AssertionResult UntilJobEnds() {
    if (WaitUntil([&] { return !unit->Running(); })) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the job did not end; " << JobState();
  }

  // For a job that does not end: what it waits for.
  std::string JobState() {
    TCustomProc& proc = Proc();
    std::string state = "row " + std::to_string(proc.CurrentRow) + ", runner " +
                        (proc.EncoderRunner ? (proc.EncoderRunner->Finished() ? "finished" : "running") : "none") +
                        ", processes named evc.exe:";
    platform::ForEachProcess([&](const platform::ProcessEntry& entry) {
      if (entry.exeFile == "evc.exe") state += " " + std::to_string(entry.id);
    });
    return state;
  }

  // The encoder this test's job started (a child of ours, not another
  // program's evc.exe); 0 when none runs.
  static ProcessId OurEncoder() {
    ProcessId id = 0;
    platform::ForEachChildProcess([&](const platform::ProcessEntry& entry) {
      if (entry.exeFile == "evc.exe") id = entry.id;
    });
    return id;
  }

  RecordingDesktop desktop;
  test::ScriptedDialogs dialogs;
  Media* media = nullptr;
  TempDir app, out;
  const std::string appFolder = app.Folder() + "My App/";
  std::unique_ptr<AppRoot> root;
  ConversionUnit* unit = nullptr;
  int quits = 0;
  int finished = 0;
};

TEST_F(ConversionEndToEnd, ConvertsCheckedRowsToFreeNamesAndMovesTheBars) {
  fs::create_directories(OutFolder());
  std::ofstream(OutFolder() + "song.txt") << "taken";
  AddRow(media->shortFlac, kShortSeconds);
  AddRow(media->otherFlac, 5, false);
  AddRow(media->shortWav, kShortSeconds);
  Widgets().showOutputDirectory.SetChecked(true);

  unit->btnConvertClick();
  int fileBarMax = 0, jobBarMax = 0;
  bool stopUsableWhileMainDisabled = false;
  ConvertingDialog& dialog = root->ProgressWindowSkin();
  const bool ended = WaitUntil([&] { return !unit->Running(); }, test::kWaitTimeout,
                               [&] {
                                 fileBarMax = std::max(fileBarMax, dialog.Controls().ProgressBar1.Position());
                                 jobBarMax = std::max(jobBarMax, dialog.Controls().pbTotal.Position());
                                 if (dialog.isVisible() && !MainWindow().isEnabled() && dialog.btnStop->isEnabled())
                                   stopUsableWhileMainDisabled = true;
                               });
  ASSERT_TRUE(ended) << JobState();

  const std::vector<std::string> parameters = Parameters();
  ASSERT_EQ(parameters.size(), 2u);
  const std::string encoder = "parameter: " + appFolder + "evc.exe -y -i ";
  EXPECT_EQ(parameters[0], encoder + "\"" + media->shortFlac +
                               "\" -acodec mp3 -vn -ab 128 -vol 200 -ac 2 -ar 44100 -ss 00:00:00 -t 120 \"" +
                               OutFolder() + "song_1.mp3\"");
  EXPECT_EQ(parameters[1].rfind(encoder + "\"" + media->shortWav + "\"", 0), 0u) << parameters[1];
  EXPECT_NE(parameters[1].find("\"" + OutFolder() + "song_2.mp3\""), std::string::npos) << parameters[1];
  EXPECT_GT(fs::file_size(OutFolder() + "song_1.mp3"), 100000u);
  EXPECT_GT(fs::file_size(OutFolder() + "song_2.mp3"), 100000u);
  EXPECT_FALSE(fs::exists(OutFolder() + "other.mp3"));
  EXPECT_EQ(Proc().ConvertedCount, 2);
  EXPECT_EQ(Proc().CheckedCount, 2);
  EXPECT_GT(fileBarMax, 0);
  EXPECT_GE(jobBarMax, 100) << "the second file's refreshes start at 100 of 200";
  EXPECT_TRUE(stopUsableWhileMainDisabled);
  EXPECT_EQ(desktop.openedFolders, std::vector<std::string>{OutFolder()});
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(MainWindow().isEnabled());
  EXPECT_EQ(finished, 1);
}

TEST_F(ConversionEndToEnd, StopDuringTheSecondOfThreeEndsItsEncoderAndTheNextJobRunsNormally) {
  AddRow(media->shortFlac, kShortSeconds);
  AddRow(media->longFlac, kLongSeconds);
  AddRow(media->shortWav, kShortSeconds);
  Widgets().showOutputDirectory.SetChecked(true);
  Widgets().shutdown.SetChecked(true);

  unit->btnConvertClick();
  ASSERT_TRUE(UntilEncoderOfRowPrints(1));
  desktop.answers = {MessageAnswer::Yes};
  root->ProgressWindowSkin().btnStop->click();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Are you sure you want to stop the work ? ");
  EXPECT_FALSE(root->ProgressWindowSkin().isVisible());
  EXPECT_TRUE(MainWindow().isEnabled());
  ASSERT_TRUE(UntilJobEnds());

  EXPECT_EQ(Parameters().size(), 2u);
  EXPECT_EQ(Proc().ConvertedCount, 2);
  EXPECT_FALSE(Proc().StopRequested);
  // The long encoder was ended early: its partial output is gone, and the
  // stopped row is no failed one.
  EXPECT_GT(fs::file_size(OutFolder() + "song.mp3"), 100000u);
  EXPECT_FALSE(fs::exists(OutFolder() + "long one.mp3"));
  EXPECT_TRUE(ConvertErrors().empty());
  EXPECT_EQ(Proc().FailedCount, 0);
  EXPECT_EQ(desktop.messages.size(), 1u) << "the question only";
  EXPECT_FALSE(fs::exists(OutFolder() + "song_1.mp3")) << "the third row never started";
  EXPECT_TRUE(desktop.openedFolders.empty());
  EXPECT_EQ(desktop.powerOffs, 0);
  EXPECT_EQ(quits, 0);
  // Both stop calls end with look-ups that find nothing.
  EXPECT_TRUE(WaitUntil([&] { return LogMessagesStartingWith(appFolder, "Get Process id error.").size() >= 4; }));

  // The next job behaves normally again.
  Grid().Clear();
  AddRow(media->shortFlac, kShortSeconds);
  Widgets().shutdown.SetChecked(false);
  desktop.messages.clear();
  unit->btnConvertClick();
  ASSERT_TRUE(UntilJobEnds());
  EXPECT_EQ(Proc().ConvertedCount, 1);
  EXPECT_EQ(Parameters().size(), 3u);
  EXPECT_GT(fs::file_size(OutFolder() + "song_1.mp3"), 100000u);
  EXPECT_EQ(desktop.openedFolders, std::vector<std::string>{OutFolder()});
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(finished, 2);
}

TEST_F(ConversionEndToEnd, ClosingTheProgressWindowEndsTheJobAfterThisRowAndRunsTheAfterActions) {
  AddRow(media->shortFlac, kShortSeconds);
  AddRow(media->longFlac, kLongSeconds);
  AddRow(media->shortWav, kShortSeconds);
  Widgets().showOutputDirectory.SetChecked(true);

  unit->btnConvertClick();
  ASSERT_TRUE(UntilEncoderOfRowPrints(1));
  desktop.answers = {MessageAnswer::Yes};
  root->ProgressWindowSkin().close();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Are you sure to stop processing ?");
  EXPECT_EQ(desktop.messages[0].caption, "Sonvarro Converter");
  ASSERT_TRUE(UntilJobEnds());

  EXPECT_EQ(Parameters().size(), 2u);
  EXPECT_EQ(Proc().ConvertedCount, 2);
  EXPECT_FALSE(fs::exists(OutFolder() + "long one.mp3")) << "the stopped encoder's partial output is removed";
  EXPECT_TRUE(ConvertErrors().empty());
  EXPECT_EQ(desktop.messages.size(), 1u) << "the question only";
  EXPECT_FALSE(fs::exists(OutFolder() + "song_1.mp3"));
  EXPECT_EQ(desktop.openedFolders, std::vector<std::string>{OutFolder()});
  EXPECT_TRUE(MainWindow().isEnabled());
}

TEST_F(ConversionEndToEnd, AFileThatCannotBeDecodedIsReportedAndTheOthersConvert) {
  ProbeGraph probe;
  ASSERT_EQ(ProbeDuration(media->undecodable, probe), 5) << "it probes like a good file";
  AddRow(media->otherFlac, 5);
  AddRow(media->undecodable, 5);
  AddRow(media->shortWav, kShortSeconds);
  Widgets().showOutputDirectory.SetChecked(true);
  std::vector<std::string> foldersOpenWhileAsked;
  desktop.whileOpen = [&](const RecordingDesktop::Message&) { foldersOpenWhileAsked = desktop.openedFolders; };

  unit->btnConvertClick();
  ASSERT_TRUE(UntilJobEnds());

  const std::vector<std::string> errors = ConvertErrors();
  ASSERT_EQ(errors.size(), 1u);
  const std::string prefix = "Convert error. ->" + media->undecodable + ", exit status 3: ";
  EXPECT_EQ(errors[0].rfind(prefix, 0), 0u) << errors[0];
  EXPECT_NE(errors[0].find(media->undecodable, prefix.size()), std::string::npos)
      << "the encoder's last line names the file: " << errors[0];

  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].caption, "Sonvarro Converter");
  EXPECT_EQ(desktop.messages[0].icon, platform::MessageIcon::Warning);
  EXPECT_EQ(desktop.messages[0].text,
            "These files could not be converted:\n" + media->undecodable + "\n\nThe reasons are in log.txt.");
  EXPECT_TRUE(foldersOpenWhileAsked.empty()) << "the message comes before the after-job actions";
  EXPECT_EQ(desktop.openedFolders, std::vector<std::string>{OutFolder()});

  EXPECT_EQ(Proc().ConvertedCount, 3);
  EXPECT_EQ(Proc().FailedCount, 1);
  EXPECT_FALSE(fs::exists(OutFolder() + "broken one.mp3"));
  const test::MediaReport other = test::DecodeMedia(OutFolder() + "other.mp3");
  ASSERT_TRUE(other.ok) << other.error;
  EXPECT_EQ(other.codecName, "mp3");
  EXPECT_NEAR(other.durationSeconds, 5, 0.2);
  const test::MediaReport song = test::DecodeMedia(OutFolder() + "song.mp3");
  ASSERT_TRUE(song.ok) << song.error;
  EXPECT_NEAR(song.durationSeconds, kShortSeconds, 0.2);
  EXPECT_GT(song.rms, 0.05) << "the tone, not silence";
  EXPECT_EQ(finished, 1);
}

TEST_F(ConversionEndToEnd, AnEncoderThatCannotStartFailsEveryRowAndTheJobGoesOn) {
  fs::remove(appFolder + "evc.exe");
  AddRow(media->shortFlac, kShortSeconds);
  AddRow(media->shortWav, kShortSeconds);
  unit->btnConvertClick();
  ASSERT_TRUE(UntilJobEnds());
  EXPECT_EQ(Parameters().size(), 2u);
  EXPECT_EQ(Proc().ConvertedCount, 2);
  EXPECT_EQ(Proc().FailedCount, 2);
  EXPECT_FALSE(fs::exists(OutFolder() + "song.mp3"));
  const std::string why = ", not started: " + std::generic_category().message(ENOENT);
  EXPECT_EQ(ConvertErrors(), (std::vector<std::string>{"Convert error. ->" + media->shortFlac + why,
                                                       "Convert error. ->" + media->shortWav + why}));
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "These files could not be converted:\n" + media->shortFlac + "\n" +
                                          media->shortWav + "\n\nThe reasons are in log.txt.");
  EXPECT_EQ(finished, 1);
}

TEST_F(ConversionEndToEnd, AKilledEncoderFailsItsRowLeavesNoPartialFileAndTheNextRowConverts) {
  AddRow(media->longFlac, kLongSeconds);
  AddRow(media->otherFlac, 5);
  unit->btnConvertClick();
  ASSERT_TRUE(UntilEncoderOfRowPrints(0));
  ASSERT_TRUE(WaitUntil([&] { return fs::file_size(OutFolder() + "long one.mp3") > 0; })) << "it has begun writing";
  const ProcessId encoder = OurEncoder();
  ASSERT_NE(encoder, 0);
  ASSERT_TRUE(platform::TerminateProcess(encoder).Ok());
  ASSERT_TRUE(UntilJobEnds());

  const std::vector<std::string> errors = ConvertErrors();
  ASSERT_EQ(errors.size(), 1u);
  const std::string prefix = "Convert error. ->" + media->longFlac + ", exit status 137 (Killed)";
  EXPECT_EQ(errors[0].rfind(prefix, 0), 0u) << errors[0];
  EXPECT_FALSE(fs::exists(OutFolder() + "long one.mp3"));
  EXPECT_GT(fs::file_size(OutFolder() + "other.mp3"), 0u);
  EXPECT_EQ(Proc().FailedCount, 1);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            "These files could not be converted:\n" + media->longFlac + "\n\nThe reasons are in log.txt.");
}

// The file size limit stands in for a full disk: writes past it fail, as
// they do when the disk has no room left. It is ours while the job runs, and
// every encoder inherits it.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    ::getrlimit(RLIMIT_CORE, &savedCore_);
    const rlimit limit{bytes, saved_.rlim_max};
    ok_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    const rlimit noCore{0, savedCore_.rlim_max};  // a killed encoder leaves no core file behind
    ::setrlimit(RLIMIT_CORE, &noCore);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::setrlimit(RLIMIT_CORE, &savedCore_);
  }
  bool Ok() const { return ok_; }

 private:
  rlimit saved_{}, savedCore_{};
  bool ok_ = false;
};

TEST_F(ConversionEndToEnd, AFullDiskFailsEveryRowWithItsReasonAndTheJobEnds) {
  AddRow(media->shortFlac, kShortSeconds);
  AddRow(media->shortWav, kShortSeconds);
  AddRow(media->longFlac, kLongSeconds);
  {
    FileSizeLimit full(64 * 1024);
    ASSERT_TRUE(full.Ok());
    unit->btnConvertClick();
    ASSERT_TRUE(UntilJobEnds());
  }
  const std::vector<std::string> errors = ConvertErrors();
  ASSERT_EQ(errors.size(), 3u);
  const std::string sources[] = {media->shortFlac, media->shortWav, media->longFlac};
  for (size_t i = 0; i < errors.size(); ++i) {
    EXPECT_EQ(errors[i].rfind("Convert error. ->" + sources[i] + ", exit status ", 0), 0u) << errors[i];
    EXPECT_NE(errors[i].find("File size limit exceeded"), std::string::npos) << "it says why: " << errors[i];
  }
  for (const char* name : {"song.mp3", "song_1.mp3", "long one.mp3"})
    EXPECT_FALSE(fs::exists(OutFolder() + name)) << name;
  EXPECT_EQ(Proc().FailedCount, 3);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "These files could not be converted:\n" + media->shortFlac + "\n" +
                                          media->shortWav + "\n" + media->longFlac + "\n\nThe reasons are in log.txt.");
}

// A real full disk: the output folder lies on a small file system of its
// own that the second row fills up.
TEST_F(ConversionEndToEnd, AFileSystemThatFillsUpFailsTheRowThatFillsItAndTheRowsAfterItWithTheReason) {
  test::SmallDisk disk(1024 * 1024);
  if (!disk.Made()) GTEST_SKIP() << "no small file system to fill: " << disk.Why();
  // Room for the 5-second file's output (about 80 KB), not for a long one's.
  constexpr std::size_t kRoomLeft = 256 * 1024;
  ASSERT_GT(disk.FreeBytes(), kRoomLeft);
  std::ofstream(disk.Folder() + "filler", std::ios::binary) << std::string(disk.FreeBytes() - kRoomLeft, 'x');
  ASSERT_LE(disk.FreeBytes(), kRoomLeft);
  const std::string outFolder = disk.Folder() + "converted/";
  Widgets().outputFolder.SetText(outFolder);
  AddRow(media->otherFlac, 5);
  AddRow(media->shortFlac, kShortSeconds);
  AddRow(media->shortWav, kShortSeconds);
  unit->btnConvertClick();
  ASSERT_TRUE(UntilJobEnds());

  const test::MediaReport fitted = test::DecodeMedia(outFolder + "other.mp3");
  ASSERT_TRUE(fitted.ok) << fitted.error;
  EXPECT_NEAR(fitted.durationSeconds, 5, 0.2);
  const std::vector<std::string> errors = ConvertErrors();
  ASSERT_EQ(errors.size(), 2u);
  const std::string sources[] = {media->shortFlac, media->shortWav};
  for (size_t i = 0; i < errors.size(); ++i) {
    EXPECT_EQ(errors[i].rfind("Convert error. ->" + sources[i] + ", exit status ", 0), 0u) << errors[i];
    // The first one's partial output was removed, so its name is free again.
    const std::string why = "cannot write output \"" + outFolder + "song.mp3\": the disk is full";
    EXPECT_EQ(errors[i].substr(errors[i].size() - std::min(errors[i].size(), why.size())), why) << errors[i];
  }
  // What the failed rows wrote is gone: the room is there again.
  std::vector<std::string> written;
  for (const auto& entry : fs::directory_iterator(outFolder)) written.push_back(entry.path().filename().string());
  EXPECT_EQ(written, std::vector<std::string>{"other.mp3"});
  EXPECT_GE(disk.FreeBytes() + fs::file_size(outFolder + "other.mp3"), kRoomLeft - 16 * 1024);
  EXPECT_EQ(Proc().FailedCount, 2);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "These files could not be converted:\n" + media->shortFlac + "\n" +
                                          media->shortWav + "\n\nThe reasons are in log.txt.");
}

TEST_F(ConversionEndToEnd, AnOutputFolderThatDisappearsFailsTheRemainingRowsAndNothingIsWrittenElsewhere) {
  // The folder is the stick; once it is pulled nothing may recreate it.
  AddRow(media->longFlac, kLongSeconds);
  AddRow(media->otherFlac, 5);
  AddRow(media->shortWav, kShortSeconds);
  unit->btnConvertClick();
  ASSERT_TRUE(UntilEncoderOfRowPrints(0));
  fs::remove_all(OutFolder());
  ASSERT_TRUE(UntilJobEnds());

  EXPECT_FALSE(fs::exists(OutFolder())) << "the pulled folder was made again";
  const std::vector<std::string> errors = ConvertErrors();
  ASSERT_EQ(errors.size(), 3u);
  const std::string sources[] = {media->longFlac, media->otherFlac, media->shortWav};
  for (size_t i = 0; i < errors.size(); ++i)
    EXPECT_EQ(errors[i].rfind("Convert error. ->" + sources[i] + ",", 0), 0u) << errors[i];
  for (size_t i = 1; i < errors.size(); ++i)
    EXPECT_EQ(errors[i], "Convert error. ->" + sources[i] + ", the output folder is gone: " + OutFolder());
  EXPECT_EQ(Proc().FailedCount, 3);
  EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(ConversionEndToEnd, ASourceDeletedOrTruncatedAfterItWasAddedFailsItsRowAndTheOthersConvert) {
  TempDir sources;
  const std::string deleted = sources.Folder() + "deleted.flac";
  const std::string truncated = sources.Folder() + "truncated.flac";
  fs::copy_file(media->otherFlac, deleted);
  fs::copy_file(media->shortFlac, truncated);
  AddRow(deleted, 5);
  AddRow(truncated, kShortSeconds);
  AddRow(media->otherFlac, 5);
  fs::remove(deleted);
  fs::resize_file(truncated, 4096);  // its header and a few frames
  unit->btnConvertClick();
  ASSERT_TRUE(UntilJobEnds());

  const std::vector<std::string> errors = ConvertErrors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].rfind("Convert error. ->" + deleted + ", exit status ", 0), 0u) << errors[0];
  EXPECT_EQ(errors[1].rfind("Convert error. ->" + truncated + ", exit status ", 0), 0u) << errors[1];
  EXPECT_FALSE(fs::exists(OutFolder() + "deleted.mp3"));
  EXPECT_FALSE(fs::exists(OutFolder() + "truncated.mp3"));
  const test::MediaReport other = test::DecodeMedia(OutFolder() + "other.mp3");
  ASSERT_TRUE(other.ok) << other.error;
  EXPECT_NEAR(other.durationSeconds, 5, 0.2);
  EXPECT_EQ(Proc().FailedCount, 2);
}

}  // namespace
}  // namespace sonvarro
