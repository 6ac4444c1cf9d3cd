#pragma once

// The choices a batch converts with: the window's stored settings, with what
// the command line asks for on top, held in plain controls that the
// command-line builder reads as it reads the window's.

#include <string>

#include "cli/ConvertRequest.h"
#include "controls/PlainControls.h"
#include "engine/OptionControlSet.h"
#include "services/AppFunc.h"

namespace sonvarro {

struct BatchChoices {
  PlainOptionControls options;
  PlainTextField edtOutputFolder;
  PlainCheckBox chkShowOutputDirectory, chkShutdown;  // loaded with the settings, never acted on
};

// Loads the window's stored choices (output type, profile, output folder)
// into choices, then applies the request's type, profile, volume and output
// folder, and the profile. Throws UsageError for a profile of no such name.
void LoadBatchChoices(BatchChoices& choices, const ConvertRequest& request, const std::string& dataFolder,
                      TAppFunc& appFunc);

// One line for each profile of each type (or of the type given): the type,
// the profile's name, "preset" or "custom", and the audio options it gives
// the encoder, separated by tabs.
std::string ProfileListText(const std::string& dataFolder, TAppFunc& appFunc, std::optional<int> onlyType);

}  // namespace sonvarro
