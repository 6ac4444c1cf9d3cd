#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <system_error>

#include "TempDir.h"
#include "services/AppFunc.h"

namespace sonvarro {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string LineAt(std::time_t clock, const std::string& message) {
  std::tm now{};
  localtime_r(&clock, &now);
  char stamp[64];
  std::strftime(stamp, sizeof stamp, "%m/%d/%y %H:%M:%S", &now);
  return "Quorvane Soft " + std::string(stamp) + "|" + message + "\r\n";
}

// Log lines take their date and time forms from LC_TIME; the tests pin it.
class LogTest : public testing::Test {
 protected:
  void SetUp() override {
    previousLocale_ = std::setlocale(LC_TIME, nullptr);
    std::setlocale(LC_TIME, "C");
  }
  void TearDown() override { std::setlocale(LC_TIME, previousLocale_.c_str()); }

  test::TempDir folder_;
  std::string previousLocale_;
};

TEST_F(LogTest, FirstLineCreatesTheFileWithPrefixDateTimeAndMessage) {
  TAppFunc app(folder_.Folder());
  const std::time_t before = std::time(nullptr);
  app.WriteLog("Get Process id error.");
  const std::time_t after = std::time(nullptr);

  const std::string log = ReadAll(folder_.Path() / "log.txt");
  EXPECT_TRUE(
      std::regex_match(log, std::regex(R"(Quorvane Soft \d\d/\d\d/\d\d \d\d:\d\d:\d\d\|Get Process id error\.\r\n)")))
      << log;
  // The stamp is the clock's time when the line was written.
  EXPECT_TRUE(log == LineAt(before, "Get Process id error.") || log == LineAt(after, "Get Process id error.")) << log;
}

TEST_F(LogTest, AppendsToWhatIsThereAndKeepsMessagesUnchanged) {
  folder_.WriteFile("log.txt", "earlier line\r\n");
  TAppFunc app(folder_.Folder());
  const std::string multiLine = "parameter: -i \"/in/a b.mp4\"\nsecond | line: x";
  app.WriteLog(multiLine);
  app.WriteLog("Terminate process error.");

  const std::string log = ReadAll(folder_.Path() / "log.txt");
  EXPECT_TRUE(
      std::regex_match(log, std::regex("earlier line\r\n"
                                       R"(Quorvane Soft [^|]+\|parameter: -i "/in/a b\.mp4"\nsecond \| line: x\r\n)"
                                       R"(Quorvane Soft [^|]+\|Terminate process error\.\r\n)")))
      << log;
}

TEST_F(LogTest, AnUnwritableLogLosesTheLineAndSaysSoOnce) {
  const std::string fileAsFolder = folder_.WriteFile("plain-file") + "/";
  std::filesystem::create_directories(folder_.Path() / "taken" / "log.txt");  // a folder named log.txt
  const struct {
    const char* what;
    std::string appFolder;
    const char* reason;  // as the system words it
  } cases[] = {
      {"missing folder", folder_.Folder() + "missing/", std::strerror(ENOENT)},
      {"regular file where the folder should be", fileAsFolder, std::strerror(ENOTDIR)},
      {"log.txt is a folder", folder_.Folder() + "taken/", std::strerror(EISDIR)},
      {"read-only file system", "/proc/", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TAppFunc app(c.appFolder);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(app.WriteLog("lost"));
    EXPECT_FALSE(app.WriteLog("lost too"));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("Cannot write " + c.appFolder + "log.txt (", 0), 0u) << said;
    EXPECT_NE(said.find(c.reason), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << "told once: " << said;
  }
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "missing"));

  // Once the log can be written again, the next loss is told again.
  const std::string later = folder_.Folder() + "later/";
  TAppFunc app(later);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(app.WriteLog("lost"));
  std::filesystem::create_directory(folder_.Path() / "later");
  EXPECT_TRUE(app.WriteLog("kept"));
  std::filesystem::remove_all(folder_.Path() / "later");
  EXPECT_FALSE(app.WriteLog("lost again"));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
}

TEST(DataPath, IsTheGivenFolderEndingInASlash) {
  EXPECT_EQ(TAppFunc("/opt/sonvarro/").GetDataPath(), "/opt/sonvarro/");
  EXPECT_EQ(TAppFunc("/opt/sonvarro").GetDataPath(), "/opt/sonvarro/");
}

TEST(DataPath, DefaultsToTheWritableFolderOfTheRunningProgram) {
  const auto program = std::filesystem::canonical("/proc/self/exe");
  EXPECT_EQ(TAppFunc().GetDataPath(), program.parent_path().string() + "/");
}

}  // namespace
}  // namespace sonvarro
