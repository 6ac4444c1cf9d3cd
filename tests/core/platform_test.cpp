#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "services/platform/ChildProcess.h"
#include "services/platform/DataFolder.h"
#include "services/platform/FileContent.h"
#include "services/platform/Files.h"
#include "services/platform/Folders.h"
#include "services/platform/HomeFolder.h"
#include "services/platform/Paths.h"
#include "services/platform/Processes.h"
#include "settings/DefaultFolders.h"

namespace sonvarro::platform {
namespace {

namespace fs = std::filesystem;

void ExpectFailure(const Status& status, int error, const std::string& attempt, const std::string& path) {
  EXPECT_FALSE(status.Ok());
  EXPECT_EQ(status.Error(), error) << status.Describe();
  EXPECT_EQ(status.Message(), std::strerror(error));
  EXPECT_EQ(status.Attempt(), attempt);
  EXPECT_EQ(status.Path(), path);
  EXPECT_EQ(status.Describe(), "Cannot " + attempt + " \"" + path + "\": " + std::strerror(error));
}

TEST(PlatformStatus, SaysWhatFailedWhereAndWhy) {
  test::TempDir dir;
  const std::string missing = dir.Folder() + "missing/settings.ini";
  ExpectFailure(ReadWholeFile(missing).GetStatus(), ENOENT, "read the file", missing);
  ExpectFailure(ReplaceFileContent(missing, "x"), ENOENT, "write the file", missing);
  ExpectFailure(AppendToFile(missing, "x"), ENOENT, "write the file", missing);
  ExpectFailure(FileSize(missing).GetStatus(), ENOENT, "read the file", missing);
  ExpectFailure(FileSize(dir.Folder()).GetStatus(), EISDIR, "read the file", dir.Folder());
  ExpectFailure(ForEachFileIn(dir.Folder() + "missing", [](const std::string&) {}), ENOENT, "list the folder",
                dir.Folder() + "missing");
  const std::string underAFile = dir.WriteFile("blocker") + "/sub";
  ExpectFailure(CreateFolder(underAFile), ENOTDIR, "create the folder", underAFile);
  EXPECT_FALSE(CreateFolders(underAFile).Ok());
  EXPECT_EQ(CreateFolders(underAFile).Path(), underAFile);
  EXPECT_FALSE(fs::exists(dir.Path() / "missing"));
  const std::string program = dir.Folder() + "missing/evc.exe";
  ExpectFailure(ChildProcess::Start({program}, dir.Folder()).GetStatus(), ENOENT, "start the program", program);
  ExpectFailure(TerminateProcess(0), EINVAL, "end the process", "0");
}

TEST(PlatformStatus, SuccessCarriesNoReason) {
  test::TempDir dir;
  const Status made = CreateFolders(dir.Folder() + "a/b");
  EXPECT_TRUE(made.Ok());
  EXPECT_EQ(made.Error(), 0);
  EXPECT_TRUE(made.Describe().empty());
  EXPECT_TRUE(CreateFolders(dir.Folder() + "a/b").Ok()) << "a folder already there counts as made";
  EXPECT_TRUE(IsFolder(dir.Folder() + "a/b"));
}

TEST(PlatformFiles, FileSizeGivesTheLengthInBytes) {
  test::TempDir dir;
  EXPECT_EQ(FileSize(dir.WriteFile("empty.wav")).Value(), 0);
  EXPECT_EQ(FileSize(dir.WriteFile("name with blanks ü.wav", std::string(70000, 'x'))).Value(), 70000);
}

TEST(PlatformFiles, ContentIsReadAndAppendedAsBytes) {
  test::TempDir dir;
  const std::string path = dir.Folder() + "log.txt";
  ASSERT_TRUE(AppendToFile(path, std::string("a\0b\r\n", 5)).Ok());
  ASSERT_TRUE(AppendToFile(path, "c").Ok());
  EXPECT_EQ(ReadWholeFile(path).Value(), std::string("a\0b\r\nc", 6));
  ASSERT_TRUE(ReplaceFileContent(path, "new").Ok());
  EXPECT_EQ(ReadWholeFile(path).Value(), "new");
}

// Two programs saving one file at once (two instances of the program) take
// turns: every save succeeds and lands whole, and no temporary is left.
TEST(PlatformFiles, SavesOfOneFileFromTwoProcessesTakeTurns) {
  test::TempDir dir;
  const std::string path = dir.Folder() + "settings.ini";
  const std::string versions[] = {std::string(256 * 1024, 'a'), std::string(128 * 1024, 'b')};
  constexpr int kSaves = 100;
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = ::fork();
    ASSERT_GE(writers[w], 0);
    if (writers[w] == 0) {
      for (int save = 0; save < kSaves; ++save)
        if (!ReplaceFileContent(path, versions[w])) ::_exit(1);
      ::_exit(0);
    }
  }
  int wholeReads = 0, reads = 0;
  bool ended[2] = {false, false};
  int statuses[2] = {-1, -1};  // -1 reads as no exit
  for (bool last = false; !last;) {
    // Read once more after both have ended.
    for (int w = 0; w < 2; ++w)
      if (!ended[w]) ended[w] = ::waitpid(writers[w], &statuses[w], WNOHANG) != 0;
    last = ended[0] && ended[1];
    if (const Result<std::string> read = ReadWholeFile(path)) {
      ++reads;
      wholeReads += read.Value() == versions[0] || read.Value() == versions[1];
    }
  }
  for (const int status : statuses) EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
  EXPECT_EQ(wholeReads, reads);
  std::vector<std::string> entries;
  for (const auto& entry : fs::directory_iterator(dir.Path())) entries.push_back(entry.path().filename().string());
  EXPECT_EQ(entries, std::vector<std::string>{"settings.ini"});
}

TEST(PlatformFolders, NameInUseCountsWhatIsThereNotWhereItPoints) {
  test::TempDir dir;
  fs::create_symlink(dir.Path() / "nowhere", dir.Path() / "dangling");
  EXPECT_TRUE(NameInUse(dir.Folder() + "dangling").Value());
  EXPECT_TRUE(NameInUse(dir.WriteFile("file")).Value());
  EXPECT_FALSE(NameInUse(dir.Folder() + "free").Value());
  EXPECT_FALSE(NameInUse(dir.Folder() + "file/below").Value());
}

TEST(PlatformFolders, ForEachFileInSkipsFolders) {
  test::TempDir dir;
  dir.WriteFile("a.mp3");
  dir.WriteFile("sub/b.mp3");
  fs::create_directory(dir.Path() / "c.mp3");
  fs::create_symlink(dir.Path() / "sub", dir.Path() / "link to a folder");
  std::vector<std::string> names;
  EXPECT_TRUE(ForEachFileIn(dir.Folder(), [&](const std::string& name) { names.push_back(name); }).Ok());
  EXPECT_EQ(names, std::vector<std::string>{"a.mp3"});
}

TEST(PlatformFolders, AbsolutePathStartsFromTheWorkingFolder) {
  EXPECT_EQ(AbsolutePath("/music/a.mp3").Value(), "/music/a.mp3");
  EXPECT_EQ(AbsolutePath("http://a.mp3").Value(), fs::current_path().string() + "/http://a.mp3");
}

TEST(HomeFolder, HomeWinsWhenItIsAnAbsolutePath) {
  const struct {
    const char* home;
    const char* account;
    const char* expected;
  } cases[] = {
      {"/home/elsewhere", "/home/ada", "/home/elsewhere"},
      {"/home/elsewhere/", "/home/ada", "/home/elsewhere/"},
      {"", "/home/ada", "/home/ada"},
      {"relative/home", "/home/ada", "/home/ada"},
      {"~", "/home/ada", "/home/ada"},
      {"", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseHomeFolder(c.home, c.account), c.expected) << c.home;
}

// Sets HOME for one test and puts back what was there.
class HomeVariable {
 public:
  explicit HomeVariable(const std::optional<std::string>& value) {
    if (const char* old = std::getenv("HOME")) old_ = old;
    Set(value);
  }
  ~HomeVariable() { Set(old_); }

 private:
  static void Set(const std::optional<std::string>& value) {
    if (value) {
      setenv("HOME", value->c_str(), 1);
    } else {
      unsetenv("HOME");
    }
  }
  std::optional<std::string> old_;
};

TEST(HomeFolder, TheOutputFolderAndTheDataFolderFollowTheSameHome) {
  test::TempDir dir;
  {
    HomeVariable home(dir.Path().string());
    EXPECT_EQ(HomeFolder(), dir.Path().string());
    EXPECT_EQ(sonvarro::HomeFolder(), dir.Folder());
    EXPECT_EQ(sonvarro::DefaultOutputFolder(), dir.Folder() + "Sonvarro");
    EXPECT_EQ(ProcessUserDataPlaces().home, dir.Path().string());
  }
  // Without a usable HOME both fall back to the account's entry.
  for (const std::optional<std::string>& unusable : {std::optional<std::string>(), std::optional<std::string>("rel")}) {
    HomeVariable home(unusable);
    const std::string account = HomeFolder();
    EXPECT_NE(account, "rel");
    EXPECT_EQ(ProcessUserDataPlaces().home, account);
    EXPECT_EQ(sonvarro::HomeFolder(), WithTrailingSeparator(account));
  }
}

}  // namespace
}  // namespace sonvarro::platform
