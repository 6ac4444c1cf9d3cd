#pragma once

#include <string>

namespace sonvarro {

// The user's home folder (services/platform/HomeFolder.h), ending in "/".
std::string HomeFolder();

// Where converted files go until the user picks another folder.
std::string DefaultOutputFolder();

// Where the open-files dialog starts until files have been added through it.
std::string DefaultInitDir();

}  // namespace sonvarro
