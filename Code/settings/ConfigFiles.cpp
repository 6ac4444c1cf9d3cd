#include "settings/ConfigFiles.h"

#include "IniFiles32/IniFile32.h"

namespace sonvarro {
namespace {

constexpr const char* kConfigFolder = "Config/";

}  // namespace

std::string ConfigFilePath(const std::string& appFolder, const std::string& fileName) {
  return appFolder + kConfigFolder + fileName;
}

std::vector<std::string> ReadConfigSections(const std::string& appFolder, const std::string& fileName) {
  std::vector<std::string> sections;
  TIniFile32(ConfigFilePath(appFolder, fileName)).ReadSections(sections);
  return sections;
}

std::string ReadConfigValue(const std::string& appFolder, const std::string& fileName, const std::string& name) {
  return TIniFile32(ConfigFilePath(appFolder, fileName)).ReadString(name, name, "");
}

}  // namespace sonvarro
