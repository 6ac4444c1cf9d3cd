#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>

#include "FakeControls.h"
#include "Ffmpeg.h"
#include "RecordingDesktop.h"
#include "SilentWav.h"
#include "TempDir.h"
#include "player/ProbeGraph.h"
#include "services/TextFormats.h"
#include "sourcelist/AddSourceFiles.h"
#include "sourcelist/SourceFiles.h"

namespace sonvarro {
namespace {

using Paths = std::vector<std::string>;

TEST(SourceFileNames, ExtensionsAreTakenFromTheFileNameAndLowercased) {
  EXPECT_EQ(LowercaseExtension("/music/Track.MP3"), ".mp3");
  EXPECT_EQ(LowercaseExtension("/music/a.b.RmVb"), ".rmvb");
  EXPECT_EQ(LowercaseExtension("/my.folder/noext"), "");
  EXPECT_EQ(LowercaseExtension("/music/trailing."), ".");
  EXPECT_TRUE(IsAcceptedExtension(".amr"));
  EXPECT_TRUE(IsAcceptedExtension(".flac"));
  EXPECT_TRUE(IsAcceptedExtension(".mkv"));
  EXPECT_FALSE(IsAcceptedExtension(".MP3"));  // callers lowercase first
  EXPECT_FALSE(IsAcceptedExtension(".txt"));
}

TEST(SourceFileNames, DuplicatesAreDroppedExactlyKeepingTheFirstOccurrence) {
  EXPECT_EQ(RemoveDuplicateNames({"/b.mp3", "/a.mp3", "/b.mp3", "/B.mp3", "/a.mp3"}),
            (Paths{"/b.mp3", "/a.mp3", "/B.mp3"}));
  EXPECT_TRUE(RemoveDuplicateNames({}).empty());

  std::string startedIn;
  const OpenFilesDialog dialog = [&](const std::string& initialDir) {
    startedIn = initialDir;
    return Paths{"/x/1.mp3", "/x/1.mp3", "/x/2.mp3"};
  };
  EXPECT_EQ(SelectSourceFiles(dialog, true, "/x/"), (Paths{"/x/1.mp3", "/x/2.mp3"}));
  EXPECT_EQ(startedIn, "/x/");
  EXPECT_EQ(SelectSourceFiles(dialog, false, "/x/").size(), 3u);
  EXPECT_TRUE(SelectSourceFiles([](const std::string&) { return Paths{}; }, true, "/").empty());
}

// Deletes the probed file when the probe lets go of it, as if another program
// removed it between probing and reading its size.
class VanishingProbe : public ProbeGraph {
 public:
  explicit VanishingProbe(std::string victim) : victim_(std::move(victim)) {}
  int Render(const std::string& path) override {
    rendered_ = path;
    return ProbeGraph::Render(path);
  }
  void SetActive(bool active) override {
    ProbeGraph::SetActive(active);
    if (!active && rendered_ == victim_) std::filesystem::remove(victim_);
  }

 private:
  std::string victim_, rendered_;
};

class AddSourceFilesTest : public ::testing::Test {
 protected:
  std::string Wav(const std::string& name, int ms) { return test::WriteSilentWav(dir.Folder() + name, ms); }
  std::string Junk(const std::string& name) { return dir.WriteFile(name, "this is not media at all"); }
  void Add(const Paths& paths) { AddSourceFiles(grid, paths, hooks); }
  Paths Names() const {
    Paths names;
    for (const auto& row : grid.rows) names.push_back(row[kColFileName]);
    return names;
  }

  test::TempDir dir;
  test::FakeSourceGrid grid;
  Paths reported;  // the files "Error Info" was raised for, in order
  int syncs = 0, graphs = 0;
  std::vector<int> rowsAtPaints;  // the rows the windows had to show, at each chance to paint
  std::string vanishing;
  AddSourceFilesHooks hooks{[this]() -> std::unique_ptr<MediaGraph> {
                              ++graphs;
                              return std::make_unique<VanishingProbe>(vanishing);
                            },
                            [this](const std::string& path) { reported.push_back(path); }, [this] { ++syncs; },
                            [this] { rowsAtPaints.push_back(grid.RowCount()); }};
};

TEST_F(AddSourceFilesTest, ANewRowSelectsTheWholeFile) {
  const std::string path = Wav("tone with 'quotes' $x ü.wav", 2500);
  Add({path});
  ASSERT_EQ(grid.RowCount(), 1);
  const SourceItem expected{
      "True",     path,       SizeText(static_cast<int64_t>(std::filesystem::file_size(std::filesystem::u8path(path)))),
      "00:00:02", "00:00:00", "00:00:02",
      "00:00:02"};
  EXPECT_EQ(grid.rows[0], expected);
  EXPECT_TRUE(grid.IsSelected(0));
  EXPECT_EQ(syncs, 1);
  EXPECT_EQ(graphs, 1);  // one private graph for the whole call
  EXPECT_TRUE(reported.empty());
}

// Pipes, a link to a device and names that differ in case only are the
// Linux file system's: the Windows build has no such files.
#ifndef _WIN32
TEST_F(AddSourceFilesTest, SkipRules) {
  const std::string lower = Wav("a.wav", 1500);
  const std::string upperPath = Wav("A.wav", 1500);    // differs in case only: its own row
  const std::string upperExt = Wav("loud.MP3", 1200);  // capitals in the extension are fine
  const std::string text = Wav("notes.txt", 1500);     // not an accepted extension: silent
  const std::string bare = Wav("noext", 1500);         // no extension: silent
  const std::string tooShort = Wav("short.mp4", 900);  // reads as 00:00:00: error
  const std::string brokenOgg = Junk("broken.ogg");    // unreadable: error
  const std::string brokenAmr = Junk("broken.amr");    // unreadable AMR: added without a duration
  // Not regular files: unreadable, and never opened (a pipe nobody writes
  // to would block the reader).
  const std::string pipe = dir.Folder() + "pipe.mp3";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const std::string folder = dir.Folder() + "folder.wav";
  std::filesystem::create_directory(folder);
  // Nor are they when named as AMR, whose unreadable files still come in.
  const std::string amrPipe = dir.Folder() + "pipe.amr";
  ASSERT_EQ(mkfifo(amrPipe.c_str(), 0600), 0);
  const std::string amrDevice = dir.Folder() + "zero.amr";
  std::filesystem::create_symlink("/dev/zero", amrDevice);
  Add({lower, upperPath, lower, text, upperExt, bare, tooShort, brokenOgg, brokenAmr, upperPath, pipe, folder, amrPipe,
       amrDevice});

  EXPECT_EQ(Names(), (Paths{lower, upperPath, upperExt, brokenAmr}));
  EXPECT_EQ(reported, (Paths{tooShort, brokenOgg, pipe, folder, amrPipe, amrDevice})) << "each failing file is named";
  const SourceItem& amr = grid.rows[3];
  EXPECT_EQ((Paths{amr[kColDuration], amr[kColStartTime], amr[kColEndTime], amr[kColCutTime]}),
            (Paths{"00:00:00", "00:00:00", "00:00:00", "00:00:00"}));
  EXPECT_EQ(amr[kColFileSize], "24 B") << "size text of the 24 junk bytes";

  // Adding the same files again, later, changes nothing.
  Add({lower, upperExt, brokenAmr});
  EXPECT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(reported.size(), 6u);
}
#endif

// The formats people keep their music and videos in today come in with their
// duration, through the same probe as every other file.
TEST_F(AddSourceFilesTest, TodaysFormatsAreAddedWithTheirDuration) {
  const std::string tone = dir.Folder() + "tone.wav";
  ASSERT_TRUE(test::RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-ac", "2", tone}));
  Paths added;
  for (const char* name : {"song.flac", "voice.opus", "take.aiff", "take.aif", "clip.webm", "film.mkv", "book.m4b",
                           "sound.mka", "sound.oga", "sound.wv", "sound.caf"}) {
    added.push_back(dir.Folder() + name);
    ASSERT_TRUE(test::RunFfmpeg({"-i", tone, added.back()}));
  }
  Add(added);
  EXPECT_EQ(Names(), added);
  EXPECT_TRUE(reported.empty());
  for (const SourceItem& row : grid.rows) EXPECT_EQ(row[kColDuration], "00:00:03") << row[kColFileName];
}

TEST_F(AddSourceFilesTest, TheFirstRowJoinsTheSelectionEvenWhenNothingWasAdded) {
  Add({Wav("1.wav", 1000), Wav("2.wav", 1000), Wav("3.wav", 1000)});
  grid.selected = {2};
  Add({dir.Folder() + "1.wav"});
  EXPECT_EQ(grid.selected, (std::set<int>{0, 2}));
  EXPECT_EQ(syncs, 2);

  test::FakeSourceGrid empty;
  AddSourceFiles(empty, {}, hooks);
  EXPECT_TRUE(empty.selected.empty());
  EXPECT_EQ(syncs, 2);  // an empty list is not synced
}

TEST_F(AddSourceFilesTest, AFileThatVanishesAfterProbingIsReportedAndTheRestComesIn) {
  const std::string first = Wav("first.wav", 1000), gone = Wav("gone.wav", 1000), last = Wav("last.wav", 1000);
  vanishing = gone;
  Add({first, gone, last});
  EXPECT_EQ(Names(), (Paths{first, last}));
  EXPECT_EQ(reported, Paths{gone});
}

// A long add keeps the windows painting: each row shows before the next
// file is probed.
TEST_F(AddSourceFilesTest, TheWindowsPaintBeforeEachFileIsProbed) {
  Add({Wav("1.wav", 1000), Junk("2.mp3"), Wav("3.wav", 1000), dir.Folder() + "1.wav", Wav("4.txt", 1000)});
  EXPECT_EQ(rowsAtPaints, (std::vector<int>{0, 1, 1})) << "the duplicate and the text file need no probe";
}

// A list of thousands: its paths are read once, not once for each new file.
TEST_F(AddSourceFilesTest, TheListIsReadOnceForAllTheNewFiles) {
  constexpr int kRows = 2000;
  for (int i = 0; i < kRows; ++i) grid.AddFile(dir.Folder() + std::to_string(i) + ".wav", "00:00:01");
  Add({Wav("new 1.wav", 1000), Wav("new 2.wav", 1000), Wav("new 3.wav", 1000), dir.Folder() + "7.wav"});
  EXPECT_EQ(grid.RowCount(), kRows + 3);
  EXPECT_LE(grid.cellReads, kRows + 10);
}

// Six rows r0..r5; the case selects some, focuses one, removes.
struct RemoveCase {
  const char* name;
  std::set<int> selected;
  int focused;
  Paths remaining;
  std::string focusedAfter;  // empty: no row focused
};

class RemoveSelectedFilesTest : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(RemoveSelectedFilesTest, FocusRule) {
  const RemoveCase& c = GetParam();
  test::FakeSourceGrid grid;
  for (int i = 0; i < 6; ++i) grid.AddFile("r" + std::to_string(i), "00:00:05");
  grid.selected = c.selected;
  grid.focused = c.focused;
  test::GuardDesktop desktop;
  RemoveSelectedFiles(grid, desktop);

  Paths names;
  for (const auto& row : grid.rows) names.push_back(row[kColFileName]);
  EXPECT_EQ(names, c.remaining);
  if (c.focusedAfter.empty()) {
    EXPECT_EQ(grid.focused, -1);
  } else {
    ASSERT_GE(grid.focused, 0);
    EXPECT_EQ(grid.rows[static_cast<size_t>(grid.focused)][kColFileName], c.focusedAfter);
    if (!c.selected.empty()) {
      EXPECT_TRUE(grid.IsSelected(grid.focused));
    }
  }
  EXPECT_EQ(grid.updateDepth, 0);
  EXPECT_EQ(grid.repaints, c.selected.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemoveSelectedFilesTest,
    ::testing::Values(RemoveCase{"BlockFocusedAtItsTop", {2, 3}, 2, {"r0", "r1", "r4", "r5"}, "r1"},
                      RemoveCase{"BlockFocusedAtItsBottom", {2, 3}, 3, {"r0", "r1", "r4", "r5"}, ""},
                      RemoveCase{"FirstRowFocused", {0}, 0, {"r1", "r2", "r3", "r4", "r5"}, ""},
                      RemoveCase{"RowsAboveTheCandidateGoToo", {0, 4}, 4, {"r1", "r2", "r3", "r5"}, "r3"},
                      RemoveCase{"NoFocus", {1, 5}, -1, {"r0", "r2", "r3", "r4"}, ""},
                      RemoveCase{"AllRows", {0, 1, 2, 3, 4, 5}, 5, {}, ""},
                      RemoveCase{"NoSelectionDoesNothing", {}, 3, {"r0", "r1", "r2", "r3", "r4", "r5"}, "r3"}),
    [](const auto& info) { return std::string(info.param.name); });

// Thousands of rows: the selection is read in one pass and each block of
// neighbours goes in one deletion, however many rows it holds.
TEST(RemoveSelectedFiles, ReadsTheSelectionOnceAndDeletesEachBlockAtOnce) {
  constexpr int kRows = 2000;
  test::FakeSourceGrid grid;
  for (int i = 0; i < kRows; ++i) grid.AddFile("r" + std::to_string(i), "00:00:05");
  for (int row = kRows / 2; row < kRows; ++row) grid.selected.insert(row);
  grid.selected.insert({10, 11});
  grid.focused = kRows / 2;
  test::GuardDesktop desktop;
  RemoveSelectedFiles(grid, desktop);

  ASSERT_EQ(grid.RowCount(), kRows / 2 - 2);
  EXPECT_EQ(grid.Cell(10, kColFileName), "r12");
  EXPECT_EQ(grid.deletions, 2);
  EXPECT_LE(grid.selectionReads, 3 * kRows);
  // The row above the focused one moved up by the block above it.
  ASSERT_GE(grid.focused, 0);
  EXPECT_EQ(grid.Cell(grid.focused, kColFileName), "r" + std::to_string(kRows / 2 - 1));
  EXPECT_EQ(grid.selected, std::set<int>{grid.focused});
  EXPECT_EQ(grid.repaints, 1);
}

TEST(ClearSourceFiles, DeletesEveryRow) {
  test::FakeSourceGrid grid;
  grid.AddFile("a", "00:00:01");
  grid.AddFile("b", "00:00:01");
  grid.selected = {1};
  EXPECT_TRUE(ClearSourceFiles(grid));
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_TRUE(grid.selected.empty());
}

}  // namespace
}  // namespace sonvarro
