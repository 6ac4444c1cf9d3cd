#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "RecordingDesktop.h"
#include "TempDir.h"
#include "VirtualScheduler.h"
#include "services/ProgramVersion.h"
#include "services/platform/ExecutableFolder.h"
#include "shell/StartUp.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

constexpr int64_t kNever = -1;

// What a splash window went through; it outlives the window.
struct SplashRecord {
  int width = 0, height = 0;
  std::vector<int> firstPixel;
  std::pair<int, int> sharpSize{0, 0};  // none given
  int64_t shownAt = kNever, closedAt = kNever;
};

// A splash that waits in virtual time while it is open, as the toolkit's
// nested loop waits in real time.
class FakeSplashWindow : public ISplashWindow {
 public:
  FakeSplashWindow(test::VirtualScheduler& scheduler, SplashRecord& record) : scheduler_(scheduler), record_(record) {}
  void SetPicture(int width, int height, const uint8_t* rgb) override {
    record_.width = width;
    record_.height = height;
    record_.firstPixel = {rgb[0], rgb[1], rgb[2]};
  }
  void SetSharpPicture(int width, int height, const uint8_t*) override { record_.sharpSize = {width, height}; }
  void ShowModal() override {
    open_ = true;
    record_.shownAt = scheduler_.Now();
    while (open_ && scheduler_.Now() < record_.shownAt + 60000) scheduler_.AdvanceBy(10);
    EXPECT_FALSE(open_) << "the splash never closed";
  }
  void Close() override {
    open_ = false;
    record_.closedAt = scheduler_.Now();
  }

 private:
  test::VirtualScheduler& scheduler_;
  SplashRecord& record_;
  bool open_ = false;
};

TEST(FlashForm, ClosesOnceTheRoutineHasReturnedAndTwoTicksHavePassed) {
  struct Row {
    int64_t routineMs;  // virtual time the routine takes, the event loop turning inside it
    int64_t closedAt;
  };
  const Row rows[] = {{0, 2000}, {1750, 2000}, {1751, 2001}, {5000, 5250}};
  for (const Row& row : rows) {
    test::VirtualScheduler scheduler;
    SplashRecord record;
    FakeSplashWindow window(scheduler, record);
    int64_t ranAt = kNever;
    int runs = 0;
    TFrmFlashForm splash(window, scheduler, [&] {
      ++runs;
      ranAt = scheduler.Now();
      scheduler.AdvanceBy(row.routineMs);
    });
    splash.ShowModal();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(ranAt, 250) << row.routineMs;
    EXPECT_EQ(record.closedAt, row.closedAt) << row.routineMs;
    EXPECT_FALSE(splash.RoutineFailed());
    const int ticks = splash.Ticks();
    EXPECT_GE(ticks, TFrmFlashForm::kMinimumTicks);
    scheduler.AdvanceBy(5000);
    EXPECT_EQ(splash.Ticks(), ticks) << "the timers stop with the splash";
  }
}

// A temporary application folder with the companions asked for; Res.dll
// comes from one of the fixture folders.
class StartUpTest : public ::testing::Test {
 protected:
  void Lay(const std::string& resFixture, bool form = true, bool lib = true) {
    if (!resFixture.empty()) {
      fs::copy_file(std::string(SONVARRO_FIXTURE_DIR) + "/" + resFixture + "/Res.dll", app.Path() / "Res.dll");
    }
    if (form) app.WriteFile("Form.dll", "present");
    if (lib) app.WriteFile("Lib.dll", "present");
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : desktop.messages) texts.push_back(message.text);
    return texts;
  }

  test::TempDir app;
  test::RecordingDesktop desktop;
  test::VirtualScheduler scheduler;
  std::vector<SplashRecord> splashes;
  std::vector<std::string> captions;
  int terminations = 0;
  StartUp startUp{{app.Folder(), platform::ExecutablePath().Value(), scheduler, desktop,
                   [this] {
                     splashes.reserve(8);  // records stay where the windows write them
                     splashes.emplace_back();
                     return std::make_unique<FakeSplashWindow>(scheduler, splashes.back());
                   },
                   [this](const std::string& caption) { captions.push_back(caption); }, [this] { ++terminations; }}};
};

TEST_F(StartUpTest, TheSplashShowsThePictureWhileTheRoutineReadsTheProductStrings) {
  Lay("res_good");
  ASSERT_TRUE(startUp.ShowSplash());
  ASSERT_EQ(splashes.size(), 1u);
  // The fixture picture: 64 x 40 of colour 0x3366cc.
  EXPECT_EQ(splashes[0].width, 64);
  EXPECT_EQ(splashes[0].height, 40);
  ASSERT_EQ(splashes[0].firstPixel.size(), 3u);
  EXPECT_NEAR(splashes[0].firstPixel[0], 0x33, 8);
  EXPECT_NEAR(splashes[0].firstPixel[1], 0x66, 8);
  EXPECT_NEAR(splashes[0].firstPixel[2], 0xcc, 8);
  EXPECT_EQ(splashes[0].sharpSize, std::make_pair(0, 0)) << "the fixture holds no sharper picture";
  EXPECT_EQ(splashes[0].closedAt - splashes[0].shownAt, 2000);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(terminations, 0);
  EXPECT_EQ(captions, std::vector<std::string>{"Fixture Title 1.8"});

  const RecSoftInfo& info = startUp.SoftInfo();
  EXPECT_EQ(info.RecordSize, sizeof(RecSoftInfo));
  EXPECT_STREQ(info.AboutText0, "About zero");
  EXPECT_STREQ(info.Title, "Fixture Title");
  EXPECT_STREQ(info.AboutText2, "About two");
  EXPECT_STREQ(info.Version, "1.8");
  EXPECT_STREQ(info.HomePage, "https://home.example/");
  EXPECT_STREQ(info.EMail, "mail@fixture.example");
  EXPECT_EQ(std::string(info.AboutText7).size(), 253u) << "cut to what 254 bytes hold";
  EXPECT_EQ(std::string(info.AboutText7).substr(0, 12), "012345678901");
  EXPECT_EQ(info.AppFolder, app.Folder());
}

TEST_F(StartUpTest, APictureThatCannotBeLoadedIsToldAndTheRoutineNeverRuns) {
  struct Row {
    const char* name;
    std::string res;  // fixture folder; "" none, "garbage" a file that is no library
    std::string message;
  };
  const Row rows[] = {
      {"no Res.dll", "", "'Res.dll' is not found. Please reinstall this program."},
      {"no picture", "res_no_picture",
       "'Res.dll' holds no splash picture (resource 'ImgFlash' of type 'jpeg'). Please reinstall this program."},
      {"no JPEG", "res_bad_picture", "The splash picture in 'Res.dll' is not a valid JPEG picture ("},
      {"no library", "garbage", "'Res.dll' cannot be loaded ("},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fs::remove_all(app.Path());
    fs::create_directories(app.Path());
    desktop.messages.clear();
    splashes.clear();
    captions.clear();
    terminations = 0;
    if (row.res == "garbage") {
      Lay("");
      app.WriteFile("Res.dll", "not a library");
    } else {
      Lay(row.res);
    }
    EXPECT_FALSE(startUp.ShowSplash());
    ASSERT_EQ(desktop.messages.size(), 1u);
    const auto& message = desktop.messages[0];
    EXPECT_EQ(message.text.substr(0, row.message.size()), row.message) << message.text;
    EXPECT_NE(message.text.find("Please reinstall this program."), std::string::npos) << message.text;
    EXPECT_EQ(message.caption, "Sonvarro Converter");
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(splashes.empty()) << "no splash without its picture";
    EXPECT_TRUE(captions.empty()) << "the start-up routine never ran";
    EXPECT_STREQ(startUp.SoftInfo().Title, "");
  }
}

TEST_F(StartUpTest, EachMissingCompanionIsToldInTurnAndTheSplashStillEndsItsRoutine) {
  Lay("res_good", false, false);
  fs::create_directory(app.Path() / "Lib.dll");  // a folder is no library
  ASSERT_TRUE(startUp.ShowSplash());
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"'Form.dll' is not found. Please reinstall this program.",
                                                      "'Lib.dll' is not found. Please reinstall this program."}));
  EXPECT_GE(terminations, 1);
  EXPECT_EQ(captions, std::vector<std::string>{"Fixture Title 1.8"}) << "the routine runs to its end";
  EXPECT_EQ(splashes[0].closedAt - splashes[0].shownAt, 2000);
}

TEST_F(StartUpTest, TheCheckLooksInTheApplicationFolderForEachNameInOrder) {
  struct Row {
    bool form, lib, res;
    std::vector<std::string> missing;
  };
  const Row rows[] = {
      {true, true, true, {}},
      {false, true, true, {"Form.dll"}},
      {true, true, false, {"Res.dll"}},
      {false, false, false, {"Form.dll", "Lib.dll", "Res.dll"}},
  };
  // The working folder holds all three: it is not where they are looked for.
  test::TempDir working;
  for (const char* name : {"Form.dll", "Lib.dll", "Res.dll"}) working.WriteFile(name, "x");
  const fs::path before = fs::current_path();
  fs::current_path(working.Path());
  for (const Row& row : rows) {
    fs::remove_all(app.Path());
    fs::create_directories(app.Path());
    if (row.form) app.WriteFile("Form.dll");
    if (row.lib) app.WriteFile("Lib.dll");
    if (row.res) app.WriteFile("Res.dll");
    desktop.messages.clear();
    terminations = 0;
    EXPECT_EQ(startUp.CheckCompanionLibraries(), row.missing.empty());
    std::vector<std::string> expected;
    for (const auto& name : row.missing)
      expected.push_back("'" + name + "' is not found. Please reinstall this program.");
    EXPECT_EQ(MessageTexts(), expected);
    EXPECT_EQ(terminations > 0, !row.missing.empty());
  }
  fs::current_path(before);
}

TEST_F(StartUpTest, AFailingRoutineIsReportedAndTheSplashStillCloses) {
  Lay("res_good");
  StartUp failing{{app.Folder(), platform::ExecutablePath().Value(), scheduler, desktop,
                   [this] {
                     splashes.emplace_back();
                     return std::make_unique<FakeSplashWindow>(scheduler, splashes.back());
                   },
                   [](const std::string&) { throw std::runtime_error("No caption today."); },
                   [this] { ++terminations; }}};
  EXPECT_FALSE(failing.ShowSplash());
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "No caption today.");
  EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Error);
  EXPECT_NE(splashes[0].closedAt, kNever);
  EXPECT_EQ(terminations, 1);
}

TEST(VersionText, KeepsTheFirstTwoNumbers) {
  const std::pair<const char*, const char*> rows[] = {
      {"1.8.0.0", "1.8"}, {"2.10.3.7", "2.10"}, {"1..8.0", "1.8"}, {"3", "3"}, {"", ""}, {"...", ""},
  };
  for (const auto& [version, expected] : rows) EXPECT_EQ(VersionText(version), expected) << version;
  EXPECT_EQ(GetVersionText(platform::ExecutablePath().Value()), "1.8");
  EXPECT_EQ(GetVersionText("/nonexistent/program"), "");
}

TEST(ShowAppMessage, KindsPickTheButtons) {
  test::RecordingDesktop desktop;
  desktop.answers = {MessageAnswer::Ok, MessageAnswer::No, MessageAnswer::Cancel};
  EXPECT_EQ(ShowAppMessage(desktop, "one", 1), MessageAnswer::Ok);
  EXPECT_EQ(ShowAppMessage(desktop, "two", 2), MessageAnswer::No);
  EXPECT_EQ(ShowAppMessage(desktop, "three", 3), MessageAnswer::Cancel);
  EXPECT_EQ(ShowAppMessage(desktop, "none", 0), MessageAnswer::None);
  EXPECT_EQ(ShowAppMessage(desktop, "none", 4), MessageAnswer::None);
  ASSERT_EQ(desktop.messages.size(), 3u);
  const MessageButtons expected[] = {MessageButtons::Ok, MessageButtons::YesNo, MessageButtons::YesNoCancel};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(desktop.messages[i].buttons, expected[i]);
    EXPECT_EQ(desktop.messages[i].icon, MessageIcon::Information);
    EXPECT_EQ(desktop.messages[i].caption, "Sonvarro Converter");
  }
}

TEST(HelpFile, IsACompiledHelpFileWithEveryPage) {
  std::ifstream in(std::string(std::getenv("SONVARRO_APP_DIR")) + "/Help.chm", std::ios::binary);
  ASSERT_TRUE(in) << "Help.chm is built into the application folder";
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(bytes.substr(0, 4), "ITSF");
  for (const char* page :
       {"/index.htm", "/adding.htm", "/trimming.htm", "/output.htm", "/converting.htm", "/settings.htm", "/keys.htm"}) {
    EXPECT_NE(bytes.find(page), std::string::npos) << page;
  }
}

}  // namespace
}  // namespace sonvarro
