#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FakeControls.h"
#include "IniFiles32/IniFile32.h"
#include "TempDir.h"
#include "settings/ConfigFiles.h"
#include "settings/DefaultFolders.h"
#include "settings/UserSettings.h"

namespace sonvarro {
namespace {

class UserSettingsTest : public ::testing::Test {
 protected:
  UserSettingsTest() {
    std::filesystem::create_directory(dir.Path() / "Config");
    folder.text = DefaultOutputFolder();
    showOutputDirectory.checked = true;  // the window's design state
  }

  std::string Stored(const std::string& content) { return dir.WriteFile("Config/UserSettings.ini", content); }
  std::string FileText() const {
    std::ifstream in(dir.Path() / "Config/UserSettings.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  test::TempDir dir;
  const std::string app = dir.Folder();
  test::FakeCheckBox showOutputDirectory, shutdown;
  test::FakeTextField folder;
  UserSettingsControls controls{showOutputDirectory, shutdown, folder};
};

TEST_F(UserSettingsTest, FirstStartClearsBothBoxesAndKeepsTheBuiltInFolders) {
  LoadUserSettings(app, controls);
  EXPECT_FALSE(showOutputDirectory.checked);
  EXPECT_FALSE(shutdown.checked);
  EXPECT_EQ(folder.text, HomeFolder() + "Sonvarro");
  EXPECT_EQ(GetInitDir(app), HomeFolder());
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Config/UserSettings.ini"));
}

TEST_F(UserSettingsTest, OnlyTheTextOneChecksABox) {
  for (const char* value : {"true", "yes", "01", "1 x", "on"}) {
    Stored(std::string("\r\n[USRInfo]\r\nSHWDDir=") + value + "\r\nSHUTDOWN=" + value + "\r\n");
    showOutputDirectory.checked = shutdown.checked = true;
    LoadUserSettings(app, controls);
    EXPECT_FALSE(showOutputDirectory.checked) << value;
    EXPECT_FALSE(shutdown.checked) << value;
  }
  Stored("\r\n[USRInfo]\r\nSHWDDir=0\r\nSHUTDOWN=1\r\n");
  LoadUserSettings(app, controls);
  EXPECT_FALSE(showOutputDirectory.checked);
  EXPECT_TRUE(shutdown.checked);
}

TEST_F(UserSettingsTest, AnEmptyOutputFolderValueKeepsTheShownFolder) {
  Stored("\r\n[USRInfo]\r\nOutDir=\r\nInitDir=\r\n");
  LoadUserSettings(app, controls);
  EXPECT_EQ(folder.text, DefaultOutputFolder());
  EXPECT_EQ(GetInitDir(app), DefaultInitDir());
}

TEST_F(UserSettingsTest, SaveThenLoadRoundTripsInTheStoredForm) {
  showOutputDirectory.checked = false;
  shutdown.checked = true;
  folder.text = "/srv/out put/Ä$'x";
  SaveUserSettings(app, controls);
  EXPECT_EQ(FileText(), "\r\n[USRInfo]\r\nSHWDDir=0\r\nSHUTDOWN=1\r\nOutDir=/srv/out put/Ä$'x\r\n");

  test::FakeCheckBox show2, shutdown2;
  show2.checked = true;
  test::FakeTextField folder2;
  folder2.text = DefaultOutputFolder();
  LoadUserSettings(app, {show2, shutdown2, folder2});
  EXPECT_FALSE(show2.checked);
  EXPECT_TRUE(shutdown2.checked);
  EXPECT_EQ(folder2.text, "/srv/out put/Ä$'x");
}

TEST_F(UserSettingsTest, InitDirStoresTheFolderOfTheChosenFile) {
  SaveInitDir(app, "/media/music/My Album/01 a.mp3");
  EXPECT_EQ(GetInitDir(app), "/media/music/My Album/");
  SaveInitDir(app, "no-folder.mp3");  // no folder part: unchanged
  EXPECT_EQ(GetInitDir(app), "/media/music/My Album/");
  // A file started by adding files begins with InitDir; a later close adds
  // the other keys below it.
  SaveUserSettings(app, controls);
  EXPECT_EQ(FileText().rfind("\r\n[USRInfo]\r\nInitDir=/media/music/My Album/\r\nSHWDDir=", 0), 0u);
}

TEST_F(UserSettingsTest, ASaveWithoutItsFolderFailsWithTheEnginesError) {
  std::filesystem::remove(dir.Path() / "Config");
  EXPECT_THROW(SaveUserSettings(app, controls), IniFileError);
  EXPECT_THROW(SaveInitDir(app, "/a/b.mp3"), IniFileError);
  // A regular file where the folder belongs fails the same way.
  dir.WriteFile("Config", "not a folder");
  EXPECT_THROW(SaveUserSettings(app, controls), IniFileError);
}

// The output type and profile come back by position and by name; whatever
// cannot be used leaves the lists' defaults (AMR, "Normal Quality").
TEST_F(UserSettingsTest, TheOutputTypeAndProfileComeBackOrFallToTheDefaults) {
  dir.WriteFile("Config/UserProfileInfo.ini", "\r\n[Voice]\r\nVoice=1|1|2|3|1|2\r\n[Broken]\r\nBroken=1|x|2|3|1|2\r\n");
  struct Case {
    const char* stored;  // the lines below [USRInfo]
    int type;
    const char* profile;
  };
  const Case cases[] = {
      {"", 0, "Normal Quality"},  // a file from before these keys
      {"OutType=2\r\nProfile=Superb Quality\r\n", 2, "Superb Quality"},
      {"OutType=6\r\nProfile=Voice\r\n", 6, "Voice"},
      {"OutType=9\r\nProfile=Gone\r\n", 0, "Normal Quality"},
      {"OutType=-1\r\nProfile=\r\n", 0, "Normal Quality"},
      {"OutType=2x\r\nProfile=Broken\r\n", 0, "Normal Quality"},  // cannot be applied
      {"OutType= \r\nProfile=superb quality\r\n", 0, "Normal Quality"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    Stored(std::string("\r\n[USRInfo]\r\nOutDir=/x\r\n") + c.stored);
    test::FakeSelector type, profile;
    type.items = {"AMR", "AAC", "MP3", "AC3", "M4A", "OGG", "WAV"};
    type.index = 0;
    profile.items = {
        "Low Quality", "Acceptable Quality", "Normal Quality", "Excellent Quality", "Superb Quality", "Voice",
        "Broken"};
    profile.index = 2;
    LoadOutputChoice(app, type, profile);
    EXPECT_EQ(type.index, c.type);
    EXPECT_EQ(profile.Text(), c.profile);
  }

  test::FakeSelector type, profile;
  type.items = {"AMR", "AAC", "MP3"};
  type.index = 2;
  profile.items = {"Low Quality", "Voice"};
  profile.index = 1;
  SaveOutputChoice(app, type, profile);
  EXPECT_EQ(FileText(), "\r\n[USRInfo]\r\nOutDir=/x\r\nOutType=2\r\nProfile=Voice\r\n");
  profile.index = -1;  // the list shows no profile
  SaveOutputChoice(app, type, profile);
  EXPECT_EQ(FileText(), "\r\n[USRInfo]\r\nOutDir=/x\r\nOutType=2\r\nProfile=\r\n");
}

TEST_F(UserSettingsTest, ConfigAccessorsReadSectionsAndSameNamedKeys) {
  dir.WriteFile("Config/UserProfileInfo.ini", "\r\n[Loud]\r\nLoud=1|2|3|4|5|6\r\n[Quiet]\r\nOther=x\r\n");
  EXPECT_EQ(ReadConfigSections(app, "UserProfileInfo.ini"), (std::vector<std::string>{"Loud", "Quiet"}));
  EXPECT_EQ(ReadConfigValue(app, "UserProfileInfo.ini", "Loud"), "1|2|3|4|5|6");
  EXPECT_EQ(ReadConfigValue(app, "UserProfileInfo.ini", "Quiet"), "");
  EXPECT_TRUE(ReadConfigSections(app, "Missing.ini").empty());
  EXPECT_EQ(ReadConfigValue(app, "Missing.ini", "Loud"), "");
}

}  // namespace
}  // namespace sonvarro
