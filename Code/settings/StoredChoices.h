#pragma once

#include <string>

#include "engine/OptionControls.h"
#include "settings/UserSettings.h"

namespace sonvarro {

// The choices a start begins with, the window's and the command line's
// alike: the option lists filled with their defaults and the stored custom
// profiles (in the profile list and in cbbCustomProfile, by the same
// positions), then the user settings and the output choice loaded. The
// caller applies the profile afterwards.
void LoadStoredChoices(const std::string& dataFolder, OptionControls& options, const UserSettingsControls& settings);

}  // namespace sonvarro
