#pragma once

// Custom profiles: named snapshots of the six profile selectors, kept in
// Config/UserProfileInfo.ini (one section per profile, the name as section
// and key, a profile string as value), listed after the presets in the main
// window's profile list and in the Options dialog's cbbCustomProfile.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "controls/Controls.h"
#include "engine/CommandLineBuilder.h"
#include "engine/OptionControls.h"
#include "services/AppFunc.h"

namespace sonvarro {

inline constexpr const char* kCustomProfilesFile = "UserProfileInfo.ini";
// A counter of Add commands begun, for the proposed names only.
inline constexpr const char* kProfileCountFile = "UserProfileCount.ini";
inline constexpr const char* kProfileCountKey = "count";
inline constexpr const char* kProposedNamePrefix = "UserProfileInfo";
inline constexpr const char* kNamePrompt = "Plese input a name";
inline constexpr const char* kBadProfileValueLog = "Custom profile error. ->";

// Why a name cannot be stored as a profile (a text for the user), or nothing
// when it can. A name is read back through a line "name=value" under the
// header "[name]", and the header and key are trimmed when read: so a name
// must not be empty, hold "=", begin or end with a blank, or hold a control
// character (a line break would split the line).
std::optional<std::string> ProfileNameProblem(const std::string& name);

// The profile string of the six profile selectors' positions (-1 for no
// selection), in their order, joined by "|".
std::string FormProfileString(OptionControls& options);

// The six positions a stored value sets, each none where its part is empty
// or "none" (that list stays as it is); nothing at all when the value does
// not split into exactly six parts or a part is not a decimal number.
using ProfilePositions = std::array<std::optional<int>, 6>;
std::optional<ProfilePositions> ParseProfileString(const std::string& value);

// The first part of a six-part value that is neither empty, "none" nor a
// decimal number; nothing when there is none or the value has another
// number of parts.
std::optional<std::string> NonNumberPart(const std::string& value);

// What the user is told about such a part.
std::string NonNumberPartMessage(const std::string& part);

// Whether the six profile selectors hold what positions set (a part left
// unset matches any selection).
bool PositionsMatch(OptionControls& options, const ProfilePositions& positions);

// Sets the six profile selectors from positions.
void ApplyProfilePositions(OptionControls& options, const ProfilePositions& positions);

// The profile names in file order, as both lists show them.
std::vector<std::string> ReadCustomProfileNames(const std::string& dataFolder);

// Refills cbbCustomProfile with names, keeping its text (which selects the
// entry of that name, if there is one).
void FillCustomProfileList(ISelector& cbbCustomProfile, const std::vector<std::string>& names);

// Rebuilds the custom part of the main window's profile list from names and
// keeps its choice: the same preset, or the custom profile of the same name.
// A chosen profile that no longer exists gives way to the default preset, as
// after the Options dialog's OK; nothing is applied.
void SyncMainProfileList(ISelector& cbbProfile, const std::vector<std::string>& names);

// Sets the six profile selectors from the custom profile stored under name.
// A missing or empty value sets nothing; a value that is not six numbers (an
// empty part or "none" leaves its list as it is) sets nothing and is logged.
// Returns the part of such a value that is not a number, for the user, if
// there is one.
std::optional<std::string> ApplyStoredProfile(OptionControls& options, const std::string& dataFolder,
                                              const std::string& name, TAppFunc& appFunc);

// Before each item of a conversion: the custom profile that the main window's
// profile list shows, applied by its name as stored now, so that the item is
// converted with that profile; nothing when the list shows a preset.
class StoredProfileInUse : public ICustomProfileInUse {
 public:
  StoredProfileInUse(OptionControls& options, std::string dataFolder, TAppFunc& appFunc)
      : options_(options), dataFolder_(std::move(dataFolder)), appFunc_(appFunc) {}
  void ApplyMainWindowProfile() override;

 private:
  OptionControls& options_;
  std::string dataFolder_;
  TAppFunc& appFunc_;
};

}  // namespace sonvarro
