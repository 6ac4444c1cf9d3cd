#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "NamedProcess.h"
#include "services/SysFunc.h"

namespace sonvarro {
namespace {

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

TEST(FindProcessId, FindsARunningProgramByItsFileNameIgnoringTheCaseOfAToZ) {
  const std::string name = test::UniqueExecutableName("-é");
  test::NamedProcess process(name);
  const std::string stem = name.substr(0, name.size() - std::string("-é.exe").size());

  const struct {
    std::string lookup;
    bool found;
  } cases[] = {
      {name, true},
      {Upper(name), true},  // "SVT-...-é.EXE": only a-z change case
      {Upper(stem) + "-É.EXE", false},
      {name.substr(0, name.size() - 4), false},
      {name + "x", false},
      {"x" + name, false},
      {process.ProgramPath(), false},  // the whole path is not the file name
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(TSysFunc::FindProcessId(c.lookup), c.found ? process.Id() : 0) << c.lookup;
}

TEST(FindProcessId, ReturnsZeroForANameNothingRuns) {
  EXPECT_EQ(TSysFunc::FindProcessId(test::UniqueExecutableName()), 0);
}

TEST(FindProcessId, WithSeveralMatchesTheLastListedWins) {
  const std::string name = test::UniqueExecutableName();
  test::NamedProcess first(name);
  test::NamedProcess second(name);
  // The system lists processes by ascending id.
  EXPECT_EQ(TSysFunc::FindProcessId(name), std::max(first.Id(), second.Id()));
}

TEST(FindProcessId, EndedProcessesAreNotRunning) {
  const std::string name = test::UniqueExecutableName();
  test::NamedProcess process(name);
  ASSERT_EQ(TSysFunc::FindProcessId(name), process.Id());

  kill(process.Id(), SIGKILL);
  process.WaitUntilZombie();
  EXPECT_EQ(TSysFunc::FindProcessId(name), 0) << "a zombie counts as running";
  process.Reap();
  EXPECT_EQ(TSysFunc::FindProcessId(name), 0);
}

TEST(FindProcessId, FindsAProgramWhoseFileWasDeletedWhileRunning) {
  const std::string name = test::UniqueExecutableName();
  test::NamedProcess process(name);
  std::filesystem::remove(process.ProgramPath());
  EXPECT_EQ(TSysFunc::FindProcessId(name), process.Id());
  EXPECT_EQ(TSysFunc::FindProcessId(name + " (deleted)"), 0);
}

// The parent's id of a process, 0 when it cannot be read.
int ParentId(int id) {
  std::ifstream stat("/proc/" + std::to_string(id) + "/stat");
  std::string line;
  std::getline(stat, line);
  const auto end = line.rfind(')');
  if (end == std::string::npos) return 0;
  std::istringstream rest(line.substr(end + 2));
  char state = 0;
  int parent = 0;
  rest >> state >> parent;
  return parent;
}

TEST(FindProcessId, FindsALinkOrScriptPlacedUnderTheName) {
  for (const auto kind : {test::NamedProcess::Kind::SymbolicLink, test::NamedProcess::Kind::Script}) {
    const std::string name = test::UniqueExecutableName();
    test::NamedProcess process(name, kind);
    // A script's shell forks copies of itself under the same name for a moment.
    const int found = TSysFunc::FindProcessId(name);
    EXPECT_TRUE(found == process.Id() || ParentId(found) == process.Id()) << name << ": " << found;
  }
}

// A program of the same name that another program started is not ours to find.
TEST(FindProcessId, SeesOnlyTheProgramsThisProgramStarted) {
  const std::string name = test::UniqueExecutableName();
  test::NamedProcess ours(name);
  test::AdoptedProcess foreign(ours.ProgramPath());
  bool listed = false;
  platform::ForEachProcess([&](const platform::ProcessEntry& entry) { listed = listed || entry.id == foreign.Id(); });
  ASSERT_TRUE(listed);

  EXPECT_EQ(TSysFunc::FindProcessId(name), ours.Id());
  kill(ours.Id(), SIGKILL);
  ours.Reap();
  EXPECT_EQ(TSysFunc::FindProcessId(name), 0) << "the foreign program is not ours";
  EXPECT_TRUE(foreign.Running());
}

TEST(SameExecutableName, UpperCasesOnlyAToZ) {
  EXPECT_TRUE(TSysFunc::SameExecutableName("evc.exe", "EVC.EXE"));
  EXPECT_TRUE(TSysFunc::SameExecutableName("Evc-1_[x].exe", "eVC-1_[X].EXE"));
  EXPECT_FALSE(TSysFunc::SameExecutableName("é.exe", "É.EXE"));
  EXPECT_FALSE(TSysFunc::SameExecutableName("evc.exe", "evc.ex"));
  // '@' and '`' sit next to the letters but are no letters.
  EXPECT_FALSE(TSysFunc::SameExecutableName("a@", "A`"));
}

}  // namespace
}  // namespace sonvarro
