#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "RecordingDesktop.h"
#include "TempDir.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "settings/OutputFolder.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;

class OutputFolderTest : public ::testing::Test {
 protected:
  std::string Select(const std::string& current, std::optional<std::string> picked) {
    return SelectOutputFolder(common, current, [&] { return picked; });
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& m : desktop.messages) {
      EXPECT_EQ(m.caption, "Sonvarro Converter");
      EXPECT_EQ(m.icon, platform::MessageIcon::Warning);
      texts.push_back(m.text);
    }
    return texts;
  }
  static std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::TempDir dir;
  test::RecordingDesktop desktop;
  TAppFunc appFunc{dir.Folder()};
  TCommonLib common{dir.Folder(), appFunc, desktop};
};

TEST_F(OutputFolderTest, AWritableFolderBecomesTheOutputFolderWithoutLeavingAProbe) {
  const fs::path picked = dir.Path() / "music out";
  fs::create_directory(picked);
  EXPECT_EQ(Select("/old", picked.string()), picked.string());
  EXPECT_TRUE(Entries(picked).empty());
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(OutputFolderTest, AFolderOfTheUserNamedLikeTheProbeSurvives) {
  const fs::path picked = dir.Path() / "out";
  fs::create_directories(picked / "test");
  fs::create_directories(picked / "test1");
  dir.WriteFile("out/test/keep.txt", "x");
  EXPECT_EQ(Select("/old", picked.string()), picked.string());
  EXPECT_EQ(Entries(picked), (std::vector<std::string>{"test", "test1"}));
  EXPECT_TRUE(fs::exists(picked / "test/keep.txt"));
}

TEST_F(OutputFolderTest, AnInvalidPathIsRefusedAndTheCurrentFolderStays) {
  const std::string current = (dir.Path() / "current").string();
  const std::string file = dir.WriteFile("a-file.txt");
  for (const std::string& picked : {(dir.Path() / "missing").string(), file, std::string()}) {
    EXPECT_EQ(Select(current, picked), current) << picked;
  }
  EXPECT_EQ(Texts(), std::vector<std::string>(3, "The path is invalid."));
  EXPECT_FALSE(fs::exists(dir.Path() / "missing"));
  EXPECT_TRUE(fs::is_directory(current));  // the shown folder is made on the way out
}

TEST_F(OutputFolderTest, AFolderThatTakesNoSubfolderIsReadOnly) {
  const std::string current = (dir.Path() / "current").string();
  fs::create_directory(current);
  EXPECT_EQ(Select(current, "/proc"), current);
  EXPECT_EQ(Texts(), std::vector<std::string>{"This is a read-only path."});
}

TEST_F(OutputFolderTest, CancelCreatesTheShownFolderSilentlyWhenItCan) {
  const fs::path shown = dir.Path() / "not yet" / "there";
  EXPECT_EQ(Select(shown.string(), std::nullopt), shown.string());
  EXPECT_TRUE(fs::is_directory(shown));
  // A folder that cannot be made, or no text at all, is left to the
  // conversion to report.
  const std::string blocked = dir.WriteFile("blocker") + "/sub";
  EXPECT_EQ(Select(blocked, std::nullopt), blocked);
  EXPECT_EQ(Select("", std::nullopt), "");
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace sonvarro
