#pragma once

// The configuration folder "Config/" in the data folder (the application
// folder, or the per-user folder of an installed program: see
// services/platform/DataFolder.h). The program expects it to exist.

#include <string>
#include <vector>

namespace sonvarro {

// dataFolder ends in "/"; the result is dataFolder + "Config/" + fileName.
std::string ConfigFilePath(const std::string& dataFolder, const std::string& fileName);

// The section names of a configuration file in file order; empty when the
// file is missing.
std::vector<std::string> ReadConfigSections(const std::string& dataFolder, const std::string& fileName);

// The value of the key `name` in the section `name`; empty when absent.
std::string ReadConfigValue(const std::string& dataFolder, const std::string& fileName, const std::string& name);

}  // namespace sonvarro
