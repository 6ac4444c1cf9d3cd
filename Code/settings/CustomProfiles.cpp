#include "settings/CustomProfiles.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "engine/OptionLists.h"
#include "engine/OutputTables.h"
#include "services/TextFormats.h"
#include "settings/ConfigFiles.h"

namespace sonvarro {
namespace {

// The INI engine trims keys, values and headers of these.
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

// A decimal number with an optional sign.
std::optional<int> ReadPosition(std::string_view part) {
  // from_chars takes a minus sign but no plus sign.
  if (!part.empty() && part.front() == '+') {
    part.remove_prefix(1);
    if (!part.empty() && part.front() == '-') return std::nullopt;
  }
  int position = 0;
  const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), position);
  if (part.empty() || error != std::errc() || end != part.data() + part.size()) return std::nullopt;
  return position;
}

}  // namespace

std::optional<std::string> ProfileNameProblem(const std::string& name) {
  if (std::all_of(name.begin(), name.end(), IsBlankOrControl)) return "The profile name cannot be empty.";
  if (name.find('=') != std::string::npos) return "The profile name cannot contain \"=\".";
  if (IsBlankOrControl(name.front()) || IsBlankOrControl(name.back())) {
    return "The profile name cannot begin or end with a blank.";
  }
  if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; })) {
    return "The profile name cannot contain control characters.";
  }
  return std::nullopt;
}

std::string FormProfileString(OptionControls& options) {
  std::string profile;
  for (const ISelector* selector : ProfileSelectors(options)) {
    if (!profile.empty()) profile += '|';
    profile += std::to_string(selector->ItemIndex());
  }
  return profile;
}

std::optional<ProfilePositions> ParseProfileString(const std::string& value) {
  const std::vector<std::string> parts = SplitText(value, '|');
  ProfilePositions positions;
  if (parts.size() != positions.size()) return std::nullopt;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty() || parts[i] == kProfilePieceUnchanged) continue;
    positions[i] = ReadPosition(parts[i]);
    if (!positions[i]) return std::nullopt;
  }
  return positions;
}

std::optional<std::string> NonNumberPart(const std::string& value) {
  const std::vector<std::string> parts = SplitText(value, '|');
  if (parts.size() != ProfilePositions().size()) return std::nullopt;
  for (const std::string& part : parts) {
    if (!part.empty() && part != kProfilePieceUnchanged && !ReadPosition(part)) return part;
  }
  return std::nullopt;
}

std::string NonNumberPartMessage(const std::string& part) { return "'" + part + "' is not a valid integer value"; }

bool PositionsMatch(OptionControls& options, const ProfilePositions& positions) {
  const std::array<ISelector*, 6> selectors = ProfileSelectors(options);
  for (size_t i = 0; i < selectors.size(); ++i) {
    if (!positions[i]) continue;
    // A position outside the list selects nothing when applied.
    const int wanted = *positions[i] >= 0 && *positions[i] < selectors[i]->Count() ? *positions[i] : -1;
    if (selectors[i]->ItemIndex() != wanted) return false;
  }
  return true;
}

void ApplyProfilePositions(OptionControls& options, const ProfilePositions& positions) {
  const std::array<ISelector*, 6> selectors = ProfileSelectors(options);
  for (size_t i = 0; i < selectors.size(); ++i) {
    if (positions[i]) selectors[i]->SetItemIndex(*positions[i]);
  }
}

std::vector<std::string> ReadCustomProfileNames(const std::string& dataFolder) {
  return ReadConfigSections(dataFolder, kCustomProfilesFile);
}

void FillCustomProfileList(ISelector& cbbCustomProfile, const std::vector<std::string>& names) {
  const std::string text = cbbCustomProfile.Text();
  cbbCustomProfile.Clear();
  for (const std::string& name : names) cbbCustomProfile.AddItem(name);
  cbbCustomProfile.SetText(text);
}

void SyncMainProfileList(ISelector& cbbProfile, const std::vector<std::string>& names) {
  const int chosen = cbbProfile.ItemIndex();
  const std::string chosenName = chosen >= kFirstCustomProfile ? cbbProfile.Item(chosen) : std::string();
  cbbProfile.Clear();
  FillProfileList(cbbProfile, names);
  if (chosen >= 0 && chosen < kFirstCustomProfile) {
    cbbProfile.SetItemIndex(chosen);
    return;
  }
  if (chosen < kFirstCustomProfile) return;
  // The same position when it still holds the name (a name may stand twice).
  const size_t old = static_cast<size_t>(chosen - kFirstCustomProfile);
  if (old < names.size() && names[old] == chosenName) {
    cbbProfile.SetItemIndex(chosen);
    return;
  }
  const auto found = std::find(names.begin(), names.end(), chosenName);
  if (found != names.end()) cbbProfile.SetItemIndex(kFirstCustomProfile + static_cast<int>(found - names.begin()));
}

std::optional<std::string> ApplyStoredProfile(OptionControls& options, const std::string& dataFolder,
                                              const std::string& name, TAppFunc& appFunc) {
  const std::string value = ReadConfigValue(dataFolder, kCustomProfilesFile, name);
  if (value.empty()) return std::nullopt;
  const std::optional<ProfilePositions> positions = ParseProfileString(value);
  if (!positions) {
    appFunc.WriteLog(kBadProfileValueLog + name + "=" + value);
    return NonNumberPart(value);
  }
  ApplyProfilePositions(options, *positions);
  return std::nullopt;
}

void StoredProfileInUse::ApplyMainWindowProfile() {
  const ISelector& profile = options_.cbbProfile;
  const int chosen = profile.ItemIndex();
  if (chosen < kFirstCustomProfile) return;
  // The user was told of a value that cannot be applied when it was chosen.
  ApplyStoredProfile(options_, dataFolder_, profile.Item(chosen), appFunc_);
}

}  // namespace sonvarro
