#pragma once

// What the user chose in one run, kept for the next in Config/UserSettings.ini:
// the open-files dialog's start folder, the output folder and the two
// after-job choices. The controls hold these values while the program runs.

#include <string>

#include "controls/Controls.h"

namespace sonvarro {

struct UserSettingsControls {
  ICheckBox& chkShowOutputDirectory;
  ICheckBox& chkShutdown;
  ITextField& edtOutputFolder;
};

// Sets the two boxes ("1" checks, anything else clears) and the output
// folder (the current text stays when nothing is stored). A missing file or
// key is not an error.
void LoadUserSettings(const std::string& dataFolder, const UserSettingsControls& controls);

// Writes the two boxes as "1"/"0" and the output folder text. Throws
// IniFileError when the file cannot be written (no Config/ folder, say).
void SaveUserSettings(const std::string& dataFolder, const UserSettingsControls& controls);

// The output type (by position) and the profile (by name, so that custom
// profiles added or deleted before it do not move it). Loading keeps the
// lists' current choices, their defaults, for a missing key, a type that is
// no position of the list, a name that is no entry of the profile list, and
// a custom profile whose stored value cannot be applied.
void LoadOutputChoice(const std::string& dataFolder, ISelector& cbbOutputFiletype, ISelector& cbbProfile);
// Writes both; a profile list without a selection stores an empty name.
// Throws IniFileError when the file cannot be written.
void SaveOutputChoice(const std::string& dataFolder, const ISelector& cbbOutputFiletype, const ISelector& cbbProfile);

// The folder the open-files dialog starts in.
std::string GetInitDir(const std::string& dataFolder);

// Stores the folder of `chosenFile` (with its trailing "/") as the dialog's
// start folder; a file name without a folder part changes nothing. Throws
// IniFileError when the file cannot be written.
void SaveInitDir(const std::string& dataFolder, const std::string& chosenFile);

}  // namespace sonvarro
