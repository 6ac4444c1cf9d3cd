#include "settings/UserSettings.h"

#include <charconv>

#include "IniFiles32/IniFile32.h"
#include "engine/OutputTables.h"
#include "services/platform/Paths.h"
#include "settings/ConfigFiles.h"
#include "settings/CustomProfiles.h"
#include "settings/DefaultFolders.h"

namespace sonvarro {
namespace {

constexpr const char* kSettingsFile = "UserSettings.ini";
constexpr const char* kSection = "USRInfo";
constexpr const char* kInitDirKey = "InitDir";
constexpr const char* kShowOutputDirectoryKey = "SHWDDir";
constexpr const char* kShutdownKey = "SHUTDOWN";
constexpr const char* kOutputFolderKey = "OutDir";
constexpr const char* kOutputTypeKey = "OutType";
constexpr const char* kProfileKey = "Profile";
constexpr const char* kOn = "1";
constexpr const char* kOff = "0";

TIniFile32 OpenSettings(const std::string& dataFolder) { return TIniFile32(ConfigFilePath(dataFolder, kSettingsFile)); }

}  // namespace

void LoadUserSettings(const std::string& dataFolder, const UserSettingsControls& controls) {
  const TIniFile32 ini = OpenSettings(dataFolder);
  controls.chkShowOutputDirectory.SetChecked(ini.ReadString(kSection, kShowOutputDirectoryKey, kOff) == kOn);
  controls.chkShutdown.SetChecked(ini.ReadString(kSection, kShutdownKey, kOff) == kOn);
  controls.edtOutputFolder.SetText(ini.ReadString(kSection, kOutputFolderKey, controls.edtOutputFolder.Text()));
}

void SaveUserSettings(const std::string& dataFolder, const UserSettingsControls& controls) {
  TIniFile32 ini = OpenSettings(dataFolder);
  // Saved once, so that a save cut short never mixes old and new values.
  ini.SetString(kSection, kShowOutputDirectoryKey, controls.chkShowOutputDirectory.Checked() ? kOn : kOff);
  ini.SetString(kSection, kShutdownKey, controls.chkShutdown.Checked() ? kOn : kOff);
  ini.SetString(kSection, kOutputFolderKey, controls.edtOutputFolder.Text());
  ini.UpdateFile();
}

void LoadOutputChoice(const std::string& dataFolder, ISelector& cbbOutputFiletype, ISelector& cbbProfile) {
  const TIniFile32 ini = OpenSettings(dataFolder);
  const std::string type = ini.ReadString(kSection, kOutputTypeKey, "");
  int position = -1;
  const auto [end, error] = std::from_chars(type.data(), type.data() + type.size(), position);
  if (!type.empty() && error == std::errc() && end == type.data() + type.size() && position >= 0 &&
      position < cbbOutputFiletype.Count()) {
    cbbOutputFiletype.SetItemIndex(position);
  }

  const std::string name = ini.ReadString(kSection, kProfileKey, "");
  if (name.empty()) return;
  for (int i = 0; i < cbbProfile.Count(); ++i) {
    if (cbbProfile.Item(i) != name) continue;
    // A custom profile that cannot be applied would leave the lists on
    // values the list does not show.
    if (i >= kFirstCustomProfile &&
        !ParseProfileString(ReadConfigValue(dataFolder, kCustomProfilesFile, name)).has_value()) {
      return;
    }
    cbbProfile.SetItemIndex(i);
    return;
  }
}

void SaveOutputChoice(const std::string& dataFolder, const ISelector& cbbOutputFiletype, const ISelector& cbbProfile) {
  TIniFile32 ini = OpenSettings(dataFolder);
  // One save: a type stored with another type's profile would not load back.
  ini.SetString(kSection, kOutputTypeKey, std::to_string(cbbOutputFiletype.ItemIndex()));
  const int profile = cbbProfile.ItemIndex();
  ini.SetString(kSection, kProfileKey, profile >= 0 ? cbbProfile.Item(profile) : "");
  ini.UpdateFile();
}

std::string GetInitDir(const std::string& dataFolder) {
  return OpenSettings(dataFolder).ReadString(kSection, kInitDirKey, DefaultInitDir());
}

void SaveInitDir(const std::string& dataFolder, const std::string& chosenFile) {
  const std::string folder = platform::FolderPart(chosenFile);
  if (folder.empty()) return;
  OpenSettings(dataFolder).WriteString(kSection, kInitDirKey, folder);
}

}  // namespace sonvarro
