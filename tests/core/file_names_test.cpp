#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TempDir.h"
#include "services/FileFunc.h"
#include "services/StrFunc.h"
#include "services/platform/Files.h"

namespace sonvarro {
namespace {

TEST(LastPart, IsTheTextAfterTheLastSeparator) {
  const struct {
    std::string text;
    char separator;
    std::string expected;
  } cases[] = {
      {"a.b.c", '.', "c"},    {"abc", '.', "abc"},  {"x_", '_', ""},       {"", '.', ""},
      {"song_12", '_', "12"}, {".mp3", '.', "mp3"}, {"a_b_c_7", '_', "7"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TStrFunc::LastPart(c.text, c.separator), c.expected) << c.text << " at " << c.separator;
}

TEST(FileBaseName, DropsTheLastExtensionOfTheFileName) {
  const struct {
    std::string path;
    std::string expected;
  } cases[] = {
      {"/in/a.b.mp4", "a.b"},
      {"/in/name.", "name"},
      {"/in/", ""},
      {"noext", "noext"},
      {"/in.dir/file", "file"},
      {"/in/c:d.mp3", "c:d"},
      {"/in/my clip é.mp4", "my clip é"},
      {"/in/.hidden", ""},
      {"song.mp3", "song"},
  };
  for (const auto& c : cases) EXPECT_EQ(TFileFunc::GetFileBaseName(c.path), c.expected) << c.path;
}

TEST(FileDir, IsEverythingUpToTheLastSlash) {
  const struct {
    std::string path;
    std::string expected;
  } cases[] = {
      {"/out/song.mp3", "/out/"}, {"song.mp3", ""}, {"/out/", "/out/"},
      {"a:b/c", "a:b/"},          {"/", "/"},       {"C:song.mp3", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TFileFunc::GetFileDir(c.path), c.expected) << c.path;
}

TEST(FileList, ListsFilesNotFoldersFilteredByExactExtension) {
  test::TempDir dir;
  for (const char* name : {"a.mp3", "b.MP3", "c.wav", "noext", "sub/e.mp3"}) dir.WriteFile(name);
  std::filesystem::create_directory(dir.Path() / "d.mp3");
  const std::string folder = dir.Folder();

  auto all = TFileFunc::GetFileList(folder, "");
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, (std::vector<std::string>{folder + "a.mp3", folder + "b.MP3", folder + "c.wav", folder + "noext"}));
  EXPECT_EQ(TFileFunc::GetFileList(folder, ".mp3"), std::vector<std::string>{folder + "a.mp3"});
  EXPECT_TRUE(TFileFunc::GetFileList(folder, ".ogg").empty());
  EXPECT_TRUE(TFileFunc::GetFileList(folder + "missing/", "").empty());
}

TEST(UniqueFileName, SkipsEveryBaseNameAFileInTheFolderHas) {
  const struct {
    std::vector<std::string> existing;  // a trailing "/" makes a folder
    std::string wanted;
    std::string expected;
  } cases[] = {
      {{}, "song.mp3", "song.mp3"},
      {{"song.mp3"}, "song.mp3", "song_1.mp3"},
      {{"song.wav"}, "song.mp3", "song_1.mp3"},
      {{"song.mp3", "song_1.aac"}, "song.mp3", "song_2.mp3"},
      {{"song_1.mp3"}, "song.mp3", "song.mp3"},
      {{"song.mp3", "song_1.mp3", "song_2.mp3", "song_3.mp3", "song_4.mp3", "song_5.mp3", "song_6.mp3", "song_7.mp3",
        "song_8.mp3", "song_9.mp3"},
       "song.mp3",
       "song_10.mp3"},
      {{"clip_3.mp3"}, "clip_3.mp3", "clip_3_1.mp3"},
      {{"clip_3.mp3", "clip_3_1.ogg"}, "clip_3.mp3", "clip_3_2.mp3"},
      {{"song.mp3/"}, "song.mp3", "song.mp3"},
      {{"song/"}, "song.mp3", "song.mp3"},
      {{"Song.mp3", "SONG.wav"}, "song.mp3", "song.mp3"},
      {{"sub/song.mp3"}, "song.mp3", "song.mp3"},
      {{"a:b.mp3"}, "a:b.mp3", "a:b_1.mp3"},
      {{"song"}, "song", "song_1"},
      {{"song.tar.gz"}, "song.tar.mp3", "song.tar_1.mp3"},
      {{"my clip é $x.mp3"}, "my clip é $x.mp3", "my clip é $x_1.mp3"},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    for (const auto& name : c.existing) {
      if (name.back() == '/')
        std::filesystem::create_directories(dir.Path() / name);
      else
        dir.WriteFile(name);
    }
    TFileFunc files;
    EXPECT_EQ(files.GetUniqueFileName(dir.Folder() + c.wanted), dir.Folder() + c.expected)
        << c.wanted << " among " << testing::PrintToString(c.existing);
    EXPECT_EQ(files.RequestedBaseName, TFileFunc::GetFileBaseName(c.wanted));
  }
}

TEST(UniqueFileName, MissingFolderGivesTheWantedPathUnchanged) {
  test::TempDir dir;
  TFileFunc files;
  EXPECT_EQ(files.GetUniqueFileName(dir.Folder() + "gone/song.mp3"), dir.Folder() + "gone/song.mp3");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "gone"));
}

TEST(UniqueFileName, SeesFilesAddedSinceTheLastCall) {
  test::TempDir dir;
  TFileFunc files;
  const std::string first = files.GetUniqueFileName(dir.Folder() + "song.mp3");
  dir.WriteFile("song.mp3");
  const std::string second = files.GetUniqueFileName(dir.Folder() + "song.mp3");
  dir.WriteFile("song_1.mp3");
  const std::string third = files.GetUniqueFileName(dir.Folder() + "song.mp3");
  EXPECT_EQ(first, dir.Folder() + "song.mp3");
  EXPECT_EQ(second, dir.Folder() + "song_1.mp3");
  EXPECT_EQ(third, dir.Folder() + "song_2.mp3");
}

// The name is reserved by creating it, so the file system's own rules decide:
// on a folder that ignores letter case, "SONG.mp3" is the existing
// "song.mp3" although the listing shows no "SONG".
TEST(ReserveUniqueFileName, TheFileSystemDecidesWhatIsTakenAndTheNameIsHeld) {
  test::TempDir dir;
  dir.WriteFile("song.mp3", "the user's own");
  TFileFunc files;
  std::vector<std::string> tried;
  const auto caseBlind = [&](const std::string& path) {
    tried.push_back(path);
    std::string name = std::filesystem::path(path).filename().string();
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (std::filesystem::exists(dir.Path() / name)) return platform::Status::Failed("create the file", path, EEXIST);
    return platform::CreateNewFile(path);
  };
  EXPECT_EQ(files.ReserveUniqueFileName(dir.Folder() + "SONG.mp3", caseBlind), dir.Folder() + "SONG_1.mp3");
  EXPECT_EQ(tried, (std::vector<std::string>{dir.Folder() + "SONG.mp3", dir.Folder() + "SONG_1.mp3"}));
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "SONG_1.mp3")) << "the name is held until the encoder writes it";

  // On this file system: the held name is taken for the next row, and a
  // folder under the wanted name is no place to write to.
  EXPECT_EQ(files.ReserveUniqueFileName(dir.Folder() + "SONG.mp3"), dir.Folder() + "SONG.mp3");
  EXPECT_EQ(files.ReserveUniqueFileName(dir.Folder() + "SONG.mp3"), dir.Folder() + "SONG_2.mp3");
  std::filesystem::create_directory(dir.Path() / "clip.mp3");
  EXPECT_EQ(files.ReserveUniqueFileName(dir.Folder() + "clip.mp3"), dir.Folder() + "clip_1.mp3");
  // Where nothing can be created the name comes back unreserved, for its
  // writer to report.
  EXPECT_EQ(files.ReserveUniqueFileName(dir.Folder() + "gone/song.mp3"), dir.Folder() + "gone/song.mp3");
  std::ifstream original(dir.Path() / "song.mp3");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(original), {}), "the user's own");
}

TEST(NextFreeFileName, CountsOnFromASuffixedCandidate) {
  test::TempDir dir;
  for (const char* name : {"song.mp3", "song_1.mp3", "song_2.ogg", "song_099.wav", "take.mp3"}) dir.WriteFile(name);
  TFileFunc files;
  files.RequestedBaseName = "song";
  EXPECT_EQ(files.NextFreeFileName(dir.Folder() + "song.mp3"), dir.Folder() + "song_3.mp3");
  EXPECT_EQ(files.NextFreeFileName(dir.Folder() + "song_1.mp3"), dir.Folder() + "song_3.mp3");
  EXPECT_EQ(files.NextFreeFileName(dir.Folder() + "song_099.mp3"), dir.Folder() + "song_100.mp3");
  // A colliding candidate without a number to count on starts a suffix.
  EXPECT_EQ(files.NextFreeFileName(dir.Folder() + "take.mp3"), dir.Folder() + "take_1.mp3");
}

// What a failed encoder left at its output is removed, but only a file: a
// folder or a link under that name, or what a link points to, stays.
TEST(RemoveRegularFile, RemovesOnlyAFileOfItsOwn) {
  test::TempDir dir;
  namespace fs = std::filesystem;
  const std::string file = dir.WriteFile("partial.mp3", "half");
  const std::string target = dir.WriteFile("target.mp3", "keep");
  const std::string link = dir.Folder() + "link.mp3";
  fs::create_symlink(target, link);
  const std::string folder = dir.Folder() + "folder.mp3";
  fs::create_directory(folder);

  EXPECT_TRUE(platform::RemoveRegularFile(file).Ok());
  EXPECT_FALSE(fs::exists(file));
  const platform::Status throughLink = platform::RemoveRegularFile(link);
  EXPECT_EQ(throughLink.Error(), EINVAL);
  EXPECT_EQ(throughLink.Path(), link);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::exists(target));
  EXPECT_EQ(platform::RemoveRegularFile(folder).Error(), EISDIR);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(platform::RemoveRegularFile(dir.Folder() + "missing.mp3").Error(), ENOENT);
  EXPECT_EQ(platform::RemoveRegularFile("").Error(), ENOENT);
}

}  // namespace
}  // namespace sonvarro
