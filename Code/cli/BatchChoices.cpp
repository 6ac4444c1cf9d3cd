#include "cli/BatchChoices.h"

#include "engine/LineLayouts.h"
#include "engine/OptionFragments.h"
#include "engine/OptionLists.h"
#include "engine/OutputTables.h"
#include "services/platform/Folders.h"
#include "settings/CustomProfiles.h"
#include "settings/DefaultFolders.h"
#include "settings/StoredChoices.h"

namespace sonvarro {
namespace {

void LoadStored(BatchChoices& choices, const std::string& dataFolder) {
  choices.edtOutputFolder.SetText(DefaultOutputFolder());
  LoadStoredChoices(dataFolder, choices.options.controls,
                    {choices.chkShowOutputDirectory, choices.chkShutdown, choices.edtOutputFolder});
}

// As the window applies a chosen type or profile.
void ApplyChosenProfile(OptionControls& options, const std::string& dataFolder, TAppFunc& appFunc) {
  ApplyProfile(options, [&] {
    const int custom = options.cbbCustomProfile.ItemIndex();
    if (custom >= 0) ApplyStoredProfile(options, dataFolder, options.cbbCustomProfile.Item(custom), appFunc);
  });
}

int ProfileNamed(const ISelector& profiles, const std::string& name) {
  for (int i = 0; i < profiles.Count(); ++i)
    if (profiles.Item(i) == name) return i;
  throw UsageError("--profile: no profile named '" + name + "' (see --list-profiles)");
}

}  // namespace

void LoadBatchChoices(BatchChoices& choices, const ConvertRequest& request, const std::string& dataFolder,
                      TAppFunc& appFunc) {
  OptionControls& options = choices.options.controls;
  LoadStored(choices, dataFolder);
  if (request.outputType) options.cbbOutputFiletype.SetItemIndex(*request.outputType);
  if (request.profile) options.cbbProfile.SetItemIndex(ProfileNamed(options.cbbProfile, *request.profile));
  ApplyChosenProfile(options, dataFolder, appFunc);
  if (request.volume) options.cbbAudioVolumeGain.SetText(*request.volume);
  if (request.outputFolder) {
    // The encoder runs in the application folder: a relative folder is the
    // user's, from where the command was given.
    choices.edtOutputFolder.SetText(platform::AbsolutePath(*request.outputFolder).ValueOr(*request.outputFolder));
  }
}

std::string ProfileListText(const std::string& dataFolder, TAppFunc& appFunc, std::optional<int> onlyType) {
  std::string text;
  BatchChoices choices;
  LoadStored(choices, dataFolder);
  OptionControls& options = choices.options.controls;
  for (int type = 0; type < kOutputTypeCount; ++type) {
    if (onlyType && type != *onlyType) continue;
    options.cbbOutputFiletype.SetItemIndex(type);
    for (int profile = 0; profile < options.cbbProfile.Count(); ++profile) {
      options.cbbProfile.SetItemIndex(profile);
      ApplyChosenProfile(options, dataFolder, appFunc);
      const bool amr = MakeExtension(options) == kAmrExtension;
      const std::string audio =
          MakeAudioBitrateOption(options) +
          (amr ? std::string(kAmrAudioOptions) : MakeChannelsOption(options) + MakeSampleRateOption(options));
      text += std::string(OutputTypeTable[static_cast<size_t>(type)].extension.substr(1)) + "\t" +
              options.cbbProfile.Item(profile) + "\t" + (profile < kFirstCustomProfile ? "preset" : "custom") + "\t" +
              audio.substr(1) + "\n";
    }
  }
  return text;
}

}  // namespace sonvarro
