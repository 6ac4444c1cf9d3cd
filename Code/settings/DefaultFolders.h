#pragma once

#include <string>

namespace sonvarro {

// The user's home folder, ending in "/": the account's home as the system
// records it, or HOME when the account database has none.
std::string HomeFolder();

// Where converted files go until the user picks another folder.
std::string DefaultOutputFolder();

// Where the open-files dialog starts until files have been added through it.
std::string DefaultInitDir();

}  // namespace sonvarro
