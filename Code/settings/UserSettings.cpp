#include "settings/UserSettings.h"

#include "IniFiles32/IniFile32.h"
#include "services/platform/Paths.h"
#include "settings/ConfigFiles.h"
#include "settings/DefaultFolders.h"

namespace sonvarro {
namespace {

constexpr const char* kSettingsFile = "UserSettings.ini";
constexpr const char* kSection = "USRInfo";
constexpr const char* kInitDirKey = "InitDir";
constexpr const char* kShowOutputDirectoryKey = "SHWDDir";
constexpr const char* kShutdownKey = "SHUTDOWN";
constexpr const char* kOutputFolderKey = "OutDir";
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
  ini.WriteString(kSection, kShowOutputDirectoryKey, controls.chkShowOutputDirectory.Checked() ? kOn : kOff);
  ini.WriteString(kSection, kShutdownKey, controls.chkShutdown.Checked() ? kOn : kOff);
  ini.WriteString(kSection, kOutputFolderKey, controls.edtOutputFolder.Text());
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
