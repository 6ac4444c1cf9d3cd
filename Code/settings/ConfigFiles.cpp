#include "settings/ConfigFiles.h"

#include "IniFiles32/IniFile32.h"
#include "services/platform/DataFolder.h"

namespace sonvarro {

std::string ConfigFilePath(const std::string& dataFolder, const std::string& fileName) {
  return dataFolder + platform::kConfigFolder + fileName;
}

std::vector<std::string> ReadConfigSections(const std::string& dataFolder, const std::string& fileName) {
  std::vector<std::string> sections;
  TIniFile32(ConfigFilePath(dataFolder, fileName)).ReadSections(sections);
  return sections;
}

std::string ReadConfigValue(const std::string& dataFolder, const std::string& fileName, const std::string& name) {
  return TIniFile32(ConfigFilePath(dataFolder, fileName)).ReadString(name, name, "");
}

}  // namespace sonvarro
