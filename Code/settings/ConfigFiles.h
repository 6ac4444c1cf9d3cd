#pragma once

// The configuration folder "Config/" in the application folder. The program
// expects it to exist and never creates it.

#include <string>
#include <vector>

namespace sonvarro {

// appFolder ends in "/"; the result is appFolder + "Config/" + fileName.
std::string ConfigFilePath(const std::string& appFolder, const std::string& fileName);

// The section names of a configuration file in file order; empty when the
// file is missing.
std::vector<std::string> ReadConfigSections(const std::string& appFolder, const std::string& fileName);

// The value of the key `name` in the section `name`; empty when absent.
std::string ReadConfigValue(const std::string& appFolder, const std::string& fileName, const std::string& name);

}  // namespace sonvarro
