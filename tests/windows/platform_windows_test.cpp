#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"
#include "services/SysFunc.h"
#include "services/platform/ChildProcess.h"
#include "services/platform/DataFolder.h"
#include "services/platform/Desktop.h"
#include "services/platform/ExecutableFolder.h"
#include "services/platform/FileContent.h"
#include "services/platform/Files.h"
#include "services/platform/Folders.h"
#include "services/platform/HomeFolder.h"
#include "services/platform/Memory.h"
#include "services/platform/Paths.h"
#include "services/platform/Processes.h"
#include "services/platform/Spawn.h"

namespace sonvarro::platform {
namespace {

namespace fs = std::filesystem;

const std::string kChildName = "test_child.exe";

std::string TestChild() { return ExecutableFolder() + kChildName; }

std::string Hex(const std::string& text) {
  std::string hex;
  char digits[3];
  for (unsigned char c : text) {
    std::snprintf(digits, sizeof digits, "%02x", c);
    hex += digits;
  }
  return hex;
}

// Everything the child printed until it ended.
std::string OutputUntilEnd(ChildProcess& child) {
  std::string output;
  char buffer[256];
  for (;;) {
    child.WaitForOutputOrEnd(100);
    while (const size_t count = child.Read(buffer, sizeof buffer)) output.append(buffer, count);
    if (!child.Running() && child.BytesWaiting() == 0) return output;
  }
}

// The first line the child printed, waiting for it at most a few seconds.
std::string FirstLine(ChildProcess& child) {
  std::string output;
  char buffer[64];
  for (int waited = 0; output.find('\n') == std::string::npos && waited < 100; ++waited) {
    child.WaitForOutput(50);
    output.append(buffer, child.Read(buffer, sizeof buffer));
  }
  return output.substr(0, output.find_first_of("\r\n"));
}

// The same through Spawn, the child writing into a pipe of our C runtime.
std::string OutputViaSpawn(const std::vector<std::string>& args, const std::string& folder) {
  int ends[2];
  if (_pipe(ends, 65536, _O_BINARY | _O_NOINHERIT) != 0) return "no pipe";
  SpawnRequest request;
  request.args = args;
  request.output = ends[1];
  request.workingFolder = folder;
  const Result<pid_t> started = Spawn(request);
  _close(ends[1]);
  std::string output;
  char buffer[256];
  for (int count; started && (count = _read(ends[0], buffer, sizeof buffer)) > 0;) output.append(buffer, count);
  _close(ends[0]);
  return started ? output : started.GetStatus().Describe();
}

std::unique_ptr<ChildProcess> StartChild(const std::vector<std::string>& args, const std::string& folder = {}) {
  auto started = ChildProcess::Start(args, folder);
  if (!started) ADD_FAILURE() << started.GetStatus().Describe();
  return started ? std::move(started).Value() : nullptr;
}

TEST(WindowsSpawn, ArgumentsArriveAsTheyWereGiven) {
  const std::vector<std::string> arguments = {
      "plain",
      "with blank",
      "tab\there",
      "quote\"inside",
      "\"",
      "\"\"",
      "trailing\\",
      "blank and \\",
      "two\\\\",
      "a\\\\\"b",
      "\\\"",
      "%PATH%",
      "^caret^",
      "a&b|c<d>e",
      "$HOME $(x)",
      "",
      "ü é 日本 ñ",
      "C:\\Program Files\\x\\",
      "\\\\server\\share\\",
      "'single'",
      "-",
      "  ",
  };
  test::TempDir dir;
  // The program itself under a name with blanks and letters beyond ASCII.
  const std::string folder = dir.Folder() + "prog ü 日本";
  ASSERT_TRUE(CreateFolders(folder).Ok());
  const std::string program = JoinPath(folder, "test child é.exe");
  ASSERT_TRUE(CopyFileW(fs::u8path(TestChild()).c_str(), fs::u8path(program).c_str(), FALSE));

  std::vector<std::string> args = {program};
  args.insert(args.end(), arguments.begin(), arguments.end());
  auto child = StartChild(args, folder);
  ASSERT_TRUE(child);
  std::string expected;
  for (const std::string& argument : arguments) expected += Hex(argument) + "\r\n";
  EXPECT_EQ(OutputUntilEnd(*child), expected);
  EXPECT_EQ(child->ExitCode(), 0);
  EXPECT_TRUE(child->EndingSignal().empty());
  EXPECT_EQ(OutputViaSpawn(args, folder), expected);
}

TEST(WindowsSpawn, AMissingProgramFailsWithNothingStarted) {
  test::TempDir dir;
  const std::string program = dir.Folder() + "missing\\evc.exe";
  const auto started = ChildProcess::Start({program}, dir.Folder());
  ASSERT_FALSE(started.Ok());
  EXPECT_EQ(started.GetStatus().Error(), ENOENT);
  EXPECT_EQ(started.GetStatus().Describe(), "Cannot start the program \"" + program + "\": " + std::strerror(ENOENT));
  EXPECT_FALSE(ChildProcess::Start({}, dir.Folder()).Ok());
}

TEST(WindowsSpawn, AChildStillRunningIsEndedWithItsOwner) {
  auto child = StartChild({TestChild(), "--wait"});
  ASSERT_TRUE(child);
  EXPECT_EQ(FirstLine(*child), "waiting");
  EXPECT_TRUE(child->Running());
  const ProcessId id = static_cast<ProcessId>(child->Pid());
  child.reset();
  HANDLE gone = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
  if (gone) {
    EXPECT_EQ(WaitForSingleObject(gone, 0), WAIT_OBJECT_0) << "the child outlived its owner";
    CloseHandle(gone);
  }
}

TEST(WindowsProcesses, FindsAChildByItsNameIgnoringCaseAndStopsIt) {
  auto child = StartChild({TestChild(), "--wait"});
  ASSERT_TRUE(child);
  ASSERT_EQ(FirstLine(*child), "waiting");
  EXPECT_EQ(TSysFunc::FindProcessId("TEST_CHILD.EXE"), static_cast<ProcessId>(child->Pid()));
  EXPECT_EQ(TSysFunc::FindProcessId("Test_Child.exe"), static_cast<ProcessId>(child->Pid()));
  EXPECT_EQ(TSysFunc::FindProcessId("test_child"), 0) << "the whole file name counts";

  ASSERT_TRUE(TerminateProcess(TSysFunc::FindProcessId(kChildName)).Ok());
  EXPECT_EQ(child->WaitForExit(), 1);
  EXPECT_FALSE(child->Running());
  EXPECT_EQ(TSysFunc::FindProcessId(kChildName), 0);
  EXPECT_EQ(TerminateProcess(0).Error(), EINVAL);
}

TEST(WindowsProcesses, OnlyOurOwnChildrenAreSeen) {
  auto child = StartChild({TestChild(), "--start-waiting-child"});
  ASSERT_TRUE(child);
  const ProcessId grandchild = std::atoi(FirstLine(*child).c_str());
  ASSERT_GT(grandchild, 0);
  const ProcessId childId = static_cast<ProcessId>(child->Pid());

  std::set<ProcessId> ours;
  ASSERT_TRUE(ForEachChildProcess([&](const ProcessEntry& entry) { ours.insert(entry.id); }).Ok());
  EXPECT_EQ(ours.count(childId), 1u);
  EXPECT_EQ(ours.count(grandchild), 0u) << "a child of our child is not ours";

  ProcessId grandchildParent = 0;
  std::string grandchildName;
  ProcessId last = 0;
  bool ascending = true;
  ASSERT_TRUE(ForEachProcess([&](const ProcessEntry& entry) {
                ascending = ascending && entry.id > last;
                last = entry.id;
                if (entry.id != grandchild) return;
                grandchildParent = entry.parentId;
                grandchildName = std::string(entry.exeFile);
              }).Ok());
  EXPECT_TRUE(ascending);
  EXPECT_EQ(grandchildParent, childId);
  EXPECT_TRUE(TSysFunc::SameExecutableName(grandchildName, kChildName)) << grandchildName;
  // Stopping by name ends the child and leaves its child alone.
  EXPECT_EQ(TSysFunc::FindProcessId(kChildName), childId);
  EXPECT_TRUE(TerminateProcess(grandchild).Ok());
}

TEST(WindowsPaths, DriveLettersAndUncPathsComeApart) {
  const struct {
    const char* path;
    const char* fileName;
    const char* folder;
    const char* extension;
  } cases[] = {
      {"C:\\Music\\a b\\Track.MP3", "Track.MP3", "C:\\Music\\a b\\", ".MP3"},
      {"C:/music/mixed\\x.ogg", "x.ogg", "C:/music/mixed\\", ".ogg"},
      {"C:song.mp3", "song.mp3", "C:", ".mp3"},
      {"C:\\", "", "C:\\", ""},
      {"\\\\server\\share\\dir.d\\noext", "noext", "\\\\server\\share\\dir.d\\", ""},
      {"bare.wav", "bare.wav", "", ".wav"},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileNamePart(c.path), c.fileName) << c.path;
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(ExtensionPart(c.path), c.extension) << c.path;
  }
  EXPECT_EQ(WithTrailingSeparator("C:\\out"), "C:\\out\\");
  EXPECT_EQ(WithTrailingSeparator("C:/out/"), "C:/out/");
  EXPECT_EQ(WithTrailingSeparator(""), "\\");
  EXPECT_EQ(JoinPath("\\\\server\\share", "evc.exe"), "\\\\server\\share\\evc.exe");
}

TEST(WindowsFiles, NamesBeyondAsciiAndTheFileSystemsCaseRule) {
  test::TempDir dir;
  const std::string folder = dir.Folder() + "Ordner ü\\日本 é";
  ASSERT_TRUE(CreateFolders(folder).Ok());
  EXPECT_TRUE(IsFolder(folder));
  const std::string file = JoinPath(folder, "Ñame with blank.WAV");
  ASSERT_TRUE(CreateNewFile(file).Ok());
  EXPECT_EQ(CreateNewFile(file).Error(), EEXIST);
  EXPECT_EQ(CreateNewFile(JoinPath(folder, "ñAME WITH BLANK.wav")).Error(), EEXIST) << "Windows ignores case";
  EXPECT_TRUE(Exists(file));
  EXPECT_TRUE(IsRegularFile(file));
  EXPECT_FALSE(IsRegularFile(folder));
  EXPECT_TRUE(NameInUse(file).Value());
  EXPECT_FALSE(NameInUse(folder + "\\missing\\x").Value());
  ASSERT_TRUE(AppendToFile(file, "12345").Ok());
  EXPECT_EQ(FileSize(file).Value(), 5);
  EXPECT_EQ(FileSize(folder).GetStatus().Error(), EISDIR);
  EXPECT_EQ(FileSize(folder + "\\missing.wav").GetStatus().Error(), ENOENT);

  std::vector<std::string> names;
  ASSERT_TRUE(
      ForEachFileIn(dir.Folder() + "Ordner ü\\日本 é", [&](const std::string& name) { names.push_back(name); }).Ok());
  EXPECT_EQ(names, std::vector<std::string>{"Ñame with blank.WAV"});

  EXPECT_EQ(RemoveRegularFile(folder).Error(), EISDIR);
  EXPECT_TRUE(RemoveRegularFile(file).Ok());
  EXPECT_FALSE(Exists(file));
  EXPECT_EQ(RemoveRegularFile(file).Error(), ENOENT);
  EXPECT_TRUE(RemoveEmptyFolder(folder).Ok());
  EXPECT_FALSE(IsFolder(folder));
}

TEST(WindowsFiles, AbsolutePathsKeepTheirDriveAndRelativeOnesGetOne) {
  EXPECT_EQ(AbsolutePath("D:\\x\\y.wav").Value(), "D:\\x\\y.wav");
  EXPECT_EQ(AbsolutePath("\\\\server\\share\\y.wav").Value(), "\\\\server\\share\\y.wav");
  const std::string relative = AbsolutePath("ü.wav").Value();
  EXPECT_EQ(relative.substr(1, 2), ":\\") << relative;
  EXPECT_EQ(FileNamePart(relative), "ü.wav");
}

TEST(WindowsFileContent, ReplacesAFileWholeAndLeavesNoTemporary) {
  test::TempDir dir;
  const std::string file = dir.WriteFile("Einstellungen ü.ini", "old content");
  ASSERT_TRUE(ReplaceFileContent(file, std::string("new\0content\r\n", 13)).Ok());
  EXPECT_EQ(ReadWholeFile(file).Value(), std::string("new\0content\r\n", 13));
  // A temporary left by a save that was cut short is taken over.
  dir.WriteFile(".Einstellungen ü.ini.tmp", "half a sa");
  ASSERT_TRUE(ReplaceFileContent(file, "third").Ok());
  EXPECT_EQ(ReadWholeFile(file).Value(), "third");
  std::vector<std::string> names;
  ForEachFileIn(dir.Folder(), [&](const std::string& name) { names.push_back(name); });
  EXPECT_EQ(names, std::vector<std::string>{"Einstellungen ü.ini"});

  const std::string missing = dir.Folder() + "missing\\a.ini";
  EXPECT_EQ(ReplaceFileContent(missing, "x").Error(), ENOENT);
  EXPECT_EQ(ReadWholeFile(missing).GetStatus().Error(), ENOENT);
  EXPECT_EQ(ReadWholeFile(dir.Folder()).GetStatus().Error(), EISDIR);
}

TEST(WindowsFileContent, AReadOnlyFileIsNotReplaced) {
  test::TempDir dir;
  const std::string file = dir.WriteFile("locked.ini", "kept");
  ASSERT_TRUE(SetFileAttributesW(fs::u8path(file).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(ReplaceFileContent(file, "lost").Error(), EACCES);
  EXPECT_EQ(ReadWholeFile(file).Value(), "kept");
  SetFileAttributesW(fs::u8path(file).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFileContent, SavesAtTheSameTimeTakeTurns) {
  test::TempDir dir;
  const std::string file = dir.WriteFile("shared.ini", "start");
  const int kSavers = 4;
  const int kRounds = 25;
  std::vector<std::string> contents;
  for (int i = 0; i < kSavers; ++i) contents.push_back(std::string(20000 + i, static_cast<char>('a' + i)));
  std::vector<int> failures(kSavers, 0);
  std::vector<std::thread> savers;
  for (int i = 0; i < kSavers; ++i)
    savers.emplace_back([&, i] {
      for (int round = 0; round < kRounds; ++round)
        if (!ReplaceFileContent(file, contents[static_cast<size_t>(i)]).Ok()) ++failures[static_cast<size_t>(i)];
    });
  std::set<std::string> seen;
  for (int read = 0; read < 50; ++read) {
    const auto content = ReadWholeFile(file);
    if (content) seen.insert(content.Value());
  }
  for (auto& saver : savers) saver.join();
  EXPECT_EQ(failures, std::vector<int>(kSavers, 0));
  for (const std::string& content : seen)
    EXPECT_TRUE(content == "start" || std::find(contents.begin(), contents.end(), content) != contents.end())
        << "a reader saw a half-written file of " << content.size() << " bytes";
  EXPECT_NE(std::find(contents.begin(), contents.end(), ReadWholeFile(file).Value()), contents.end());
}

TEST(WindowsDataFolder, BesideTheProgramWhenWritableElseUnderAppData) {
  test::TempDir dir;
  const std::string app = dir.Folder() + "Program Files\\Sonvarro ü\\";
  dir.WriteFile("Program Files\\Sonvarro ü\\Config\\Options.ini", "[Options]\r\n");
  const std::string appData = dir.Folder() + "AppData\\Roaming";
  ASSERT_TRUE(CreateFolders(appData).Ok());
  EXPECT_TRUE(CanWriteAppFolder(app));
  EXPECT_FALSE(CanWriteAppFolder(dir.Folder() + "missing\\"));
  EXPECT_EQ(DataFolder(app, true, UserDataPlaces{appData}), app);

  const std::string user = appData + "\\" + kUserDataFolderName + "\\";
  EXPECT_EQ(DataFolder(app, false, UserDataPlaces{appData}), user);
  EXPECT_EQ(ReadWholeFile(user + "Config\\Options.ini").Value(), "[Options]\r\n");
  // Once there, the user's files are never replaced.
  ASSERT_TRUE(ReplaceFileContent(user + "Config\\Options.ini", "mine").Ok());
  EXPECT_EQ(DataFolder(app, false, UserDataPlaces{appData}), user);
  EXPECT_EQ(ReadWholeFile(user + "Config\\Options.ini").Value(), "mine");
  // Without a place of the user's, the installed defaults are still read.
  EXPECT_EQ(DataFolder(app, false, UserDataPlaces{""}), app);
  EXPECT_EQ(DataFolder(app, false, UserDataPlaces{"relative\\folder"}), app);
}

TEST(WindowsHomeAndProgram, TheRulesOfTheirPlaces) {
  EXPECT_EQ(ChooseHomeFolder("C:\\Users\\ü", "D:\\Account"), "C:\\Users\\ü");
  EXPECT_EQ(ChooseHomeFolder("relative", "D:\\Account"), "D:\\Account");
  EXPECT_EQ(ChooseHomeFolder("", "D:\\Account"), "D:\\Account");
  ASSERT_TRUE(SetEnvironmentVariableW(L"SONVARRO_TEST_VALUE", L"\u00fc \u65e5\u672c"));
  EXPECT_EQ(EnvironmentValue("SONVARRO_TEST_VALUE"), "ü 日本");
  EXPECT_EQ(EnvironmentValue("SONVARRO_TEST_UNSET_VALUE"), "");
  EXPECT_FALSE(HomeFolder().empty());

  const std::string program = ExecutablePath().Value();
  EXPECT_TRUE(TSysFunc::SameExecutableName(std::string(FileNamePart(program)), "windows_core_tests.exe")) << program;
  EXPECT_EQ(ExecutableFolder(), FolderPart(program));
  EXPECT_EQ(ExecutableFolder().back(), '\\');
}

// Only the question: nothing is opened, and no test powers anything off.
TEST(WindowsDesktop, KnowsWhichFileTypesTheShellCanOpen) {
  IDesktop& desktop = SystemDesktop();
  EXPECT_TRUE(desktop.HasHandlerFor("C:\\Program Files\\Sonvarro ü\\Help.chm"));
  EXPECT_TRUE(desktop.HasHandlerFor("C:\\Config\\Options.INI")) << "extensions ignore case";
  EXPECT_FALSE(desktop.HasHandlerFor("C:\\x\\file.no-such-type-here"));
  EXPECT_FALSE(desktop.HasHandlerFor("C:\\x\\no extension"));
}

TEST(WindowsMemory, TrimsOnlyWhenMoreIsInUseThanAfterTheLastTrim) {
  TrimFreedHeap();
  EXPECT_FALSE(TrimFreedHeap()) << "nothing grew since";
  std::vector<char> held(16 << 20, 'x');
  EXPECT_TRUE(TrimFreedHeap());
  EXPECT_EQ(held[held.size() / 2], 'x');
}

}  // namespace
}  // namespace sonvarro::platform
