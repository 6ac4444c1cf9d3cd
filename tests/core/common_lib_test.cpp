#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "NamedProcess.h"
#include "RecordingDesktop.h"
#include "TempDir.h"
#include "services/ApplicationTitle.h"
#include "services/CommonLib.h"
#include "services/SysFunc.h"

namespace sonvarro {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

// A TCommonLib logging into its own temporary folder.
class CommonLibTest : public testing::Test {
 protected:
  // The messages of the log lines written so far, in order.
  std::vector<std::string> LoggedMessages() const {
    std::ifstream in(folder_.Path() / "log.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<std::string> messages;
    const std::string log = text.str();
    static const std::regex line("Quorvane Soft [^|\r\n]+\\|([^\r\n]*)\r\n");
    for (std::sregex_iterator it(log.begin(), log.end(), line), end; it != end; ++it) messages.push_back((*it)[1]);
    return messages;
  }

  test::TempDir folder_;
  test::RecordingDesktop desktop_;
  TAppFunc appFunc_{folder_.Folder()};
  TCommonLib lib_{folder_.Folder(), appFunc_, desktop_};
};

bool KilledBySigkill(int status) { return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL; }

TEST_F(CommonLibTest, AppFolderEndsInASlash) {
  EXPECT_EQ(lib_.AppFolder, folder_.Folder());
  TCommonLib withoutSlash(folder_.Path().string(), appFunc_, desktop_);
  EXPECT_EQ(withoutSlash.AppFolder, folder_.Folder());
}

TEST_F(CommonLibTest, GetProcessIdByNameFindsARunningProgramWithoutLogging) {
  const std::string name = test::UniqueExecutableName();
  test::NamedProcess process(name);
  EXPECT_EQ(lib_.GetProcessIdByName(name), process.Id());
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "log.txt"));
}

TEST_F(CommonLibTest, GetProcessIdByNameLogsWhenNothingRuns) {
  EXPECT_EQ(lib_.GetProcessIdByName(test::UniqueExecutableName()), 0);
  EXPECT_EQ(lib_.GetProcessIdByName(test::UniqueExecutableName()), 0);
  EXPECT_EQ(LoggedMessages(), (std::vector<std::string>{"Get Process id error.", "Get Process id error."}));
}

TEST_F(CommonLibTest, AnUnwritableLogNeverStopsTheLookups) {
  TAppFunc brokenLog(folder_.Folder() + "missing/");
  TCommonLib lib(folder_.Folder(), brokenLog, desktop_);
  testing::internal::CaptureStderr();
  EXPECT_EQ(lib.GetProcessIdByName(test::UniqueExecutableName()), 0);
  EXPECT_FALSE(lib.KillProcess(test::UniqueExecutableName()));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("log lines are lost"), std::string::npos);
}

TEST_F(CommonLibTest, KillProcessKillsTheProgramWhateverTheCaseOfAToZ) {
  const std::string name = test::UniqueExecutableName();
  test::NamedProcess process(name);
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

  EXPECT_TRUE(lib_.KillProcess(upper));
  EXPECT_TRUE(KilledBySigkill(process.Reap()));
  EXPECT_EQ(TSysFunc::FindProcessId(name), 0);
  EXPECT_TRUE(LoggedMessages().empty());
}

TEST_F(CommonLibTest, KillProcessKillsEveryMatch) {
  const std::string name = test::UniqueExecutableName();
  const std::string bystanderName = test::UniqueExecutableName();
  test::NamedProcess first(name);
  test::NamedProcess second(name);
  test::NamedProcess bystander(bystanderName);
  // The same program, started by somebody else: not ours to end.
  test::AdoptedProcess foreign(first.ProgramPath());

  EXPECT_TRUE(lib_.KillProcess(name));
  EXPECT_TRUE(KilledBySigkill(first.Reap()));
  EXPECT_TRUE(KilledBySigkill(second.Reap()));
  EXPECT_EQ(TSysFunc::FindProcessId(bystanderName), bystander.Id()) << "another program was hit";
  EXPECT_TRUE(foreign.Running()) << "another program's copy was hit";
  EXPECT_TRUE(LoggedMessages().empty());
}

TEST_F(CommonLibTest, KillProcessFailsAndLogsWhenNothingRuns) {
  const std::string name = test::UniqueExecutableName();
  EXPECT_FALSE(lib_.KillProcess(name));

  // An ended program that waits to be reaped is no match either.
  test::NamedProcess process(name);
  kill(process.Id(), SIGKILL);
  process.WaitUntilZombie();
  EXPECT_FALSE(lib_.KillProcess(name));

  EXPECT_EQ(LoggedMessages(), (std::vector<std::string>{"Terminate process error.", "Terminate process error."}));
}

TEST_F(CommonLibTest, ShutdownComputerAsksTheDesktopToPowerOffOnce) {
  lib_.ShutdownComputer();
  EXPECT_EQ(desktop_.powerOffs, 1);
  EXPECT_TRUE(desktop_.openedFolders.empty());
  EXPECT_TRUE(desktop_.messages.empty());
}

TEST_F(CommonLibTest, OpenInExplorerHandsTheFolderOverAsItIs) {
  const std::string folder = "/home/user/Sonvarro out/\"quoted\" $HOME é/";
  lib_.OpenInExplorer(folder);
  EXPECT_EQ(desktop_.openedFolders, std::vector<std::string>{folder});
  EXPECT_EQ(desktop_.powerOffs, 0);
}

TEST_F(CommonLibTest, ClearMemoryLetsTheUserInterfaceCatchUp) {
  lib_.ClearMemory();
  lib_.ClearMemory();
  EXPECT_EQ(desktop_.pendingEventRuns, 2);
}

TEST_F(CommonLibTest, ShowMessageBoxShowsTheIconOfItsKindWithOneOkButton) {
  const struct {
    int kind;
    MessageIcon icon;
  } kinds[] = {
      {0, MessageIcon::Error}, {1, MessageIcon::Warning}, {2, MessageIcon::Question}, {3, MessageIcon::Information}};
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.kind);
    desktop_.messages.clear();
    EXPECT_TRUE(lib_.ShowMessageBox("The path is invalid.", k.kind));
    ASSERT_EQ(desktop_.messages.size(), 1u);
    EXPECT_EQ(desktop_.messages[0].caption, kApplicationTitle);
    EXPECT_EQ(desktop_.messages[0].text, "The path is invalid.");
    EXPECT_EQ(desktop_.messages[0].icon, k.icon);
    EXPECT_EQ(desktop_.messages[0].buttons, MessageButtons::Ok);
  }
}

TEST_F(CommonLibTest, ShowMessageBoxIsFalseWhenTheBoxGaveNoAnswer) {
  desktop_.answers = {MessageAnswer::None, MessageAnswer::Yes};
  EXPECT_FALSE(lib_.ShowMessageBox("This is a read-only path.", 1));
  EXPECT_TRUE(lib_.ShowMessageBox("This is a read-only path.", 1));
}

TEST_F(CommonLibTest, ShowMessageBoxOfAnUnknownKindShowsNothing) {
  for (int kind : {-1, 4, 16}) EXPECT_FALSE(lib_.ShowMessageBox("unseen", kind)) << kind;
  EXPECT_TRUE(desktop_.messages.empty());
}

}  // namespace
}  // namespace sonvarro
