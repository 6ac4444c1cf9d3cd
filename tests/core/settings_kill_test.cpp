// Saves cut short by SIGKILL: a child saves two versions of a file in turn,
// forever; the test kills it at many points and reads the file back each
// time. Only one of the two versions, whole, may be there.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "FakeControls.h"
#include "IniFiles32/IniFile32.h"
#include "TempDir.h"
#include "settings/ConfigFiles.h"
#include "settings/CustomProfiles.h"
#include "settings/UserSettings.h"

namespace sonvarro {
namespace {

constexpr int kKills = 150;
// Each kill comes after this many whole saves of the writer (0 to 2), at a
// random moment of the save that follows.
constexpr int kMostSavesBeforeKill = 2;

// One file and its two versions: Save writes version 0 or 1, Read tells
// which one is there ("" for neither, with what was read).
struct KilledSave {
  const char* name;
  std::function<void(const std::string& dataFolder, int version)> save;
  std::function<std::string(const std::string& dataFolder)> read;
};

struct Settings {
  test::FakeCheckBox show, shutdown;
  test::FakeTextField folder;
  UserSettingsControls controls{show, shutdown, folder};
};

void SaveSettings(const std::string& dataFolder, int version) {
  Settings settings;
  settings.show.checked = settings.shutdown.checked = version == 1;
  settings.folder.text = version == 1 ? "/new/output/" : "/old/output/";
  SaveUserSettings(dataFolder, settings.controls);
}

std::string ReadSettings(const std::string& dataFolder) {
  Settings settings;
  LoadUserSettings(dataFolder, settings.controls);
  const std::string seen =
      std::to_string(settings.show.checked) + std::to_string(settings.shutdown.checked) + " " + settings.folder.text;
  if (seen == "00 /old/output/") return "old";
  if (seen == "11 /new/output/") return "new";
  return "mixed: " + seen;
}

// The output type and its profile, saved into the same file.
struct OutputChoice {
  OutputChoice() {
    type.items = {"MP3", "WAV", "OGG"};
    profile.items = {"Standard", "High"};
  }
  test::FakeSelector type, profile;
};

void SaveChoice(const std::string& dataFolder, int version) {
  OutputChoice choice;
  choice.type.index = version == 1 ? 2 : 0;
  choice.profile.index = version;
  SaveOutputChoice(dataFolder, choice.type, choice.profile);
}

std::string ReadChoice(const std::string& dataFolder) {
  OutputChoice choice;
  LoadOutputChoice(dataFolder, choice.type, choice.profile);
  if (choice.type.index == 0 && choice.profile.index == 0) return "old";
  if (choice.type.index == 2 && choice.profile.index == 1) return "new";
  return "mixed: type " + std::to_string(choice.type.index) + ", profile " + std::to_string(choice.profile.index);
}

// A custom profile saved over again, as the Options dialog's Save does.
const std::string kProfileName = "Car";
const std::string kProfileVersions[] = {"1,0,3,2,1,0,0,0", "2,1,4,0,0,1,1,0"};

void SaveProfile(const std::string& dataFolder, int version) {
  TIniFile32(ConfigFilePath(dataFolder, kCustomProfilesFile))
      .WriteString(kProfileName, kProfileName, kProfileVersions[version]);
}

std::string ReadProfile(const std::string& dataFolder) {
  const std::string value =
      TIniFile32(ConfigFilePath(dataFolder, kCustomProfilesFile)).ReadString(kProfileName, kProfileName, "");
  if (value == kProfileVersions[0]) return "old";
  if (value == kProfileVersions[1]) return "new";
  return "mixed: " + value;
}

void PrintTo(const KilledSave& file, std::ostream* out) { *out << file.name; }

std::set<std::string> Entries(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// What a folder holds beyond the expected names.
std::string Extra(const std::set<std::string>& entries, const std::set<std::string>& expected) {
  std::string extra;
  for (const std::string& name : entries)
    if (expected.count(name) == 0) extra += " " + name;
  return extra;
}

class SettingsKillTest : public testing::TestWithParam<KilledSave> {};

TEST_P(SettingsKillTest, AKilledSaveLeavesTheOldOrTheNewFileWhole) {
  const KilledSave& file = GetParam();
  test::TempDir dir;
  std::filesystem::create_directory(dir.Path() / "Config");
  const std::string dataFolder = dir.Folder();
  file.save(dataFolder, 0);
  const std::set<std::string> savedFiles = Entries(dir.Path() / "Config");

  // How long one save takes in this build (the sanitizers slow it down a
  // lot), so that the kill points spread over a whole save.
  const auto saveStarted = std::chrono::steady_clock::now();
  file.save(dataFolder, 0);
  const auto saveMicroseconds =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - saveStarted).count();

  std::mt19937 random(22);  // the same kill points on every run
  std::uniform_int_distribution<int> savesBefore(0, kMostSavesBeforeKill);
  std::uniform_int_distribution<long long> killAfter(0, saveMicroseconds);
  int seenNew = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    // The writer reports each whole save with a byte on this pipe.
    int saves[2];
    ASSERT_EQ(::pipe(saves), 0);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      // The child never returns into the test: a failed save ends it, and
      // the parent sees it ended before the kill.
      ::close(saves[0]);
      try {
        for (int version = 1;; version = 1 - version) {
          file.save(dataFolder, version);
          const char done = 1;
          if (::write(saves[1], &done, 1) != 1) break;
        }
      } catch (...) {
      }
      ::_exit(1);
    }
    ::close(saves[1]);
    bool reported = true;
    for (int waited = savesBefore(random); waited > 0 && reported; --waited) {
      char done = 0;
      reported = ::read(saves[0], &done, 1) == 1;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(killAfter(random)));
    ::kill(writer, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    // Closed only now: a writer that found the pipe closed would end at the
    // end of a save, not at the kill's random moment.
    ::close(saves[0]);
    ASSERT_TRUE(reported && WIFSIGNALED(status)) << "the writer ended before it was killed";

    const std::string seen = file.read(dataFolder);
    ASSERT_TRUE(seen == "old" || seen == "new") << file.name << " after kill " << kill << ": " << seen;
    if (seen == "new") ++seenNew;
    // A save cut short may leave its temporary file, but they do not pile up.
    const std::set<std::string> entries = Entries(dir.Path() / "Config");
    ASSERT_LE(entries.size(), savedFiles.size() + 1) << "after kill " << kill << ":" << Extra(entries, savedFiles);
  }
  EXPECT_GT(seenNew, 0) << "no kill came after a whole save";
  // The next whole save leaves nothing but the files themselves.
  file.save(dataFolder, 0);
  EXPECT_EQ(Extra(Entries(dir.Path() / "Config"), savedFiles), "");
  EXPECT_EQ(file.read(dataFolder), "old");
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsKillTest,
                         testing::Values(KilledSave{"UserSettings", SaveSettings, ReadSettings},
                                         KilledSave{"OutputChoice", SaveChoice, ReadChoice},
                                         KilledSave{"UserProfileInfo", SaveProfile, ReadProfile}),
                         [](const testing::TestParamInfo<KilledSave>& info) { return info.param.name; });

}  // namespace
}  // namespace sonvarro
