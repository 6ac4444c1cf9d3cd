#pragma once

// The steps of choosing and preparing the data folder that each system does
// its own way. The choice itself (DataFolderChoice.cpp) is the same on every
// system.

#include <string>

#include "services/platform/DataFolder.h"
#include "services/platform/Result.h"

namespace sonvarro::platform::data_folder_steps {

// Whether this process may create files in folder.
bool MayWriteFolder(const std::string& folder);

// The base of the per-user folder; empty when the user has none.
std::string UserDataHome(const UserDataPlaces& places);

// Creates folder with the missing folders above it.
Status MakeUserFolders(const std::string& folder);

// Copies the regular files of defaults (when it exists) into a new folder
// config, so that a start that stops half-way never leaves a config that
// looks complete.
Status CopyDefaults(const std::string& defaults, const std::string& config);

}  // namespace sonvarro::platform::data_folder_steps
