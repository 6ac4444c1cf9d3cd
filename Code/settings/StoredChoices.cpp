#include "settings/StoredChoices.h"

#include <vector>

#include "engine/OptionLists.h"
#include "settings/CustomProfiles.h"

namespace sonvarro {

void LoadStoredChoices(const std::string& dataFolder, OptionControls& options, const UserSettingsControls& settings) {
  const std::vector<std::string> profiles = ReadCustomProfileNames(dataFolder);
  FillOptionLists(options, profiles);
  // The main window's custom profiles are found in cbbCustomProfile by
  // position.
  FillCustomProfileList(options.cbbCustomProfile, profiles);
  LoadUserSettings(dataFolder, settings);
  LoadOutputChoice(dataFolder, options.cbbOutputFiletype, options.cbbProfile);
}

}  // namespace sonvarro
