#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "services/platform/DataFolder.h"

namespace sonvarro::platform {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

fs::perms Mode(const fs::path& path) { return fs::status(path).permissions(); }

// An installed application folder: the program's default Config/ files,
// one of them installed read-only.
class DataFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    app_.WriteFile("Config/UserSettings.ini", "\r\n[USRInfo]\r\nSHWDDir=1\r\n");
    fs::permissions(app_.WriteFile("Config/UserProfileInfo.ini", "\r\n[Voice]\r\nVoice=0|0|0|1|0|2\r\n"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }

  std::string ReadOnlyStart(const UserDataPlaces& places) { return DataFolder(app_.Folder(), false, places); }

  test::TempDir app_, user_;
};

TEST_F(DataFolderTest, AWritableApplicationFolderKeepsEverythingBesideTheProgram) {
  const std::string withoutSlash = app_.Path().string();
  EXPECT_EQ(DataFolder(withoutSlash, true, {user_.Folder() + "data", user_.Folder()}), app_.Folder());
  EXPECT_TRUE(fs::is_empty(user_.Path()));
}

TEST_F(DataFolderTest, AReadOnlyOneSendsTheDataToThePerUserFolder) {
  const std::string home = user_.Folder() + "home";
  const std::string xdg = user_.Folder() + "xdg data";
  const struct {
    const char* what;
    UserDataPlaces places;
    std::string expected;
  } cases[] = {
      {"XDG_DATA_HOME", {xdg, home}, xdg + "/sonvarro-converter/"},
      {"XDG_DATA_HOME with a slash", {xdg + "/", home}, xdg + "/sonvarro-converter/"},
      {"no XDG_DATA_HOME", {"", home}, home + "/.local/share/sonvarro-converter/"},
      {"a relative XDG_DATA_HOME does not count", {"xdg", home}, home + "/.local/share/sonvarro-converter/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(xdg);
    fs::remove_all(home);
    EXPECT_EQ(ReadOnlyStart(c.places), c.expected);
    EXPECT_TRUE(fs::is_directory(c.expected + "Config"));
  }
}

TEST_F(DataFolderTest, TheFirstStartCopiesTheDefaultsIntoAPrivateFolder) {
  app_.WriteFile("Config/not a default/inside.ini", "x");
  const std::string folder = ReadOnlyStart({user_.Folder() + "a/b", ""});
  ASSERT_EQ(folder, user_.Folder() + "a/b/sonvarro-converter/");

  std::vector<std::string> copied;
  for (const auto& entry : fs::directory_iterator(folder + "Config")) copied.push_back(entry.path().filename());
  std::sort(copied.begin(), copied.end());
  EXPECT_EQ(copied, (std::vector<std::string>{"UserProfileInfo.ini", "UserSettings.ini"}));
  for (const std::string& name : copied) {
    EXPECT_EQ(ReadAll(folder + "Config/" + name), ReadAll(app_.Folder() + "Config/" + name)) << name;
    // The program rewrites its settings, whatever mode they were installed with.
    EXPECT_NE(Mode(folder + "Config/" + name) & fs::perms::owner_write, fs::perms::none) << name;
  }
  // Only what the user keeps: no log yet, no leftovers of the copy.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  for (const std::string& created : {user_.Folder() + "a", user_.Folder() + "a/b", folder, folder + "Config"}) {
    EXPECT_EQ(Mode(created), fs::perms::owner_all) << created;
  }
  // The installed files are left as they were.
  EXPECT_EQ(Mode(app_.Folder() + "Config/UserProfileInfo.ini") & fs::perms::owner_write, fs::perms::none);
}

TEST_F(DataFolderTest, LaterStartsKeepTheUsersFiles) {
  const UserDataPlaces places{user_.Folder() + "xdg", ""};
  const std::string folder = ReadOnlyStart(places);
  std::ofstream(folder + "Config/UserSettings.ini", std::ios::trunc) << "\r\n[USRInfo]\r\nSHWDDir=0\r\n";
  fs::remove(folder + "Config/UserProfileInfo.ini");  // the user deleted every profile

  EXPECT_EQ(ReadOnlyStart(places), folder);
  EXPECT_EQ(ReadAll(folder + "Config/UserSettings.ini"), "\r\n[USRInfo]\r\nSHWDDir=0\r\n");
  EXPECT_FALSE(fs::exists(folder + "Config/UserProfileInfo.ini"));
}

TEST_F(DataFolderTest, WithoutDefaultsTheUserGetsAnEmptyConfigFolder) {
  fs::remove_all(app_.Path() / "Config");
  const std::string folder = ReadOnlyStart({user_.Folder() + "xdg", ""});
  EXPECT_TRUE(fs::is_directory(folder + "Config"));
  EXPECT_TRUE(fs::is_empty(folder + "Config"));
}

TEST_F(DataFolderTest, APerUserFolderThatCannotBeMadeLeavesTheDataInTheApplicationFolder) {
  const std::string file = user_.WriteFile("plain file");
  const struct {
    const char* what;
    UserDataPlaces places;
    const char* said;
  } cases[] = {
      {"a file where a folder should be", {file + "/xdg", ""}, "Cannot prepare "},
      {"Config taken by a file", {user_.Folder() + "taken", ""}, "Cannot prepare "},
      {"no home and no XDG_DATA_HOME", {"", ""}, "No home folder"},
  };
  user_.WriteFile("taken/sonvarro-converter/Config", "not a folder");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadOnlyStart(c.places), app_.Folder());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind(c.said, 0), 0u) << said;
    EXPECT_NE(said.find("stay in " + app_.Folder()), std::string::npos) << said;
  }
  EXPECT_EQ(ReadAll(user_.Folder() + "taken/sonvarro-converter/Config"), "not a folder");
}

// Whether this process can really create a file in folder.
bool CanCreateFileIn(const std::string& folder) {
  const std::string probe = folder + "probe";
  const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd < 0) return false;
  close(fd);
  unlink(probe.c_str());
  return true;
}

TEST(AppFolderWritable, AgreesWithCreatingAFileThere) {
  test::TempDir dir;
  const std::string readOnly = dir.Folder() + "read-only/";
  const std::string readOnlyConfig = dir.Folder() + "read-only config/";
  fs::create_directories(readOnly);
  fs::create_directories(readOnlyConfig + "Config");
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
  fs::permissions(readOnlyConfig + "Config", fs::perms::owner_read | fs::perms::owner_exec);
  const bool privileged = CanCreateFileIn(readOnly);  // true only for a user that ignores modes (root)

  EXPECT_TRUE(CanWriteAppFolder(dir.Folder()));
  EXPECT_EQ(CanWriteAppFolder(readOnly), privileged);
  EXPECT_EQ(CanWriteAppFolder(readOnlyConfig), CanCreateFileIn(readOnlyConfig + "Config/"));
  EXPECT_FALSE(CanWriteAppFolder(dir.Folder() + "missing/"));
  EXPECT_FALSE(CanWriteAppFolder(dir.WriteFile("file") + "/"));
}

}  // namespace
}  // namespace sonvarro::platform
