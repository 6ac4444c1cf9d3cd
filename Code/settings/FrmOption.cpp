#include "settings/FrmOption.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "IniFiles32/IniFile32.h"
#include "engine/OptionLists.h"
#include "engine/OutputTables.h"
#include "services/ApplicationTitle.h"
#include "services/TextFormats.h"
#include "settings/ConfigFiles.h"
#include "settings/CustomProfiles.h"

namespace sonvarro {
namespace {

constexpr int kErrorBox = 0;
constexpr int kWarningBox = 1;

// The spelling under which a name is stored: sections are found without
// regard to the case of A-Z but keys with it, so "voice" written into an
// existing "[Voice]" would land under a key that no list ever shows.
std::string StoredSpelling(const std::string& name, const std::vector<std::string>& names) {
  for (const std::string& stored : names) {
    if (SameIgnoringAsciiCase(stored, name)) return stored;
  }
  return name;
}

}  // namespace

TfrmOption::TfrmOption(FrmOptionControls controls, FrmOptionParts parts)
    : controls_(controls),
      parts_(std::move(parts)),
      profileInUse_(controls_.options, parts_.dataFolder, parts_.appFunc) {
  controls_.options.cbbCustomProfile.OnChange = [this] { cbbCustomProfileChange(); };
}

OptionsDialogEvents TfrmOption::Events() {
  return {[this] { btnAddClick(); },   [this] { btnSaveClick(); },   [this] { btnDelClick(); },
          [this] { btnApplyClick(); }, [this] { btnCancelClick(); }, [this] { FormClose(); }};
}

std::array<ISelector*, 8> TfrmOption::OptionLists() {
  OptionControls& o = controls_.options;
  return {&o.cbbVideoSize,    &o.cbbFramerate,   &o.cbbVideoBitrate,    &o.cbbAspectratio,
          &o.cbbAudioBitrate, &o.cbbAudioSample, &o.cbbAudioVolumeGain, &o.cbbAudioChannels};
}

void TfrmOption::Show() {
  if (!controls_.window.Visible()) FormShow();
  controls_.window.Show();
}

void TfrmOption::FormShow() {
  ISelector& custom = controls_.options.cbbCustomProfile;
  FillCustomProfileList(custom, ReadCustomProfileNames(parts_.dataFolder));
  // A preset on the main window selects nothing here.
  if (custom.Text().empty()) custom.SetItemIndex(controls_.options.cbbProfile.ItemIndex() - kFirstCustomProfile);

  const std::array<ISelector*, 8> lists = OptionLists();
  for (size_t i = 0; i < lists.size(); ++i) snapshot_.positions[i] = lists[i]->ItemIndex();
  snapshot_.customProfile = custom.Text();
  chosenHere_.reset();
}

void TfrmOption::cbbCustomProfileChange() {
  const ISelector& custom = controls_.options.cbbCustomProfile;
  if (custom.ItemIndex() >= 0) chosenHere_ = custom.Item(custom.ItemIndex());
  ApplyCustomProfile();
}

void TfrmOption::RefillAfterChange(const std::optional<std::string>& stored) {
  const std::vector<std::string> names = ReadCustomProfileNames(parts_.dataFolder);
  ISelector& custom = controls_.options.cbbCustomProfile;
  FillCustomProfileList(custom, names);
  // The profile just stored stays in the box, so that a Delete right after a
  // Save removes that profile and no other.
  const auto found = stored ? std::find(names.begin(), names.end(), *stored) : names.end();
  custom.SetItemIndex(found != names.end() ? static_cast<int>(found - names.begin()) : custom.Count() - 1);
  SyncMainProfileList(controls_.options.cbbProfile, names);
}

void TfrmOption::btnAddClick() {
  const std::optional<std::string> stored = AddCustomProfile();
  if (stored) chosenHere_ = stored;
  RefillAfterChange(stored);
}

void TfrmOption::btnSaveClick() {
  const std::optional<std::string> stored = SaveCustomProfile();
  // A refused name stays in the box to be mended.
  if (!stored) return;
  chosenHere_ = stored;
  RefillAfterChange(stored);
}

void TfrmOption::btnDelClick() {
  DeleteCustomProfile();
  RefillAfterChange();
  ISelector& custom = controls_.options.cbbCustomProfile;
  if (custom.Count() == 0) custom.SetText("");
}

void TfrmOption::btnApplyClick() {
  SelectProfileOfLists();
  controls_.window.Hide();
}

void TfrmOption::btnCancelClick() {
  const std::array<ISelector*, 8> lists = OptionLists();
  for (size_t i = 0; i < lists.size(); ++i) lists[i]->SetItemIndex(snapshot_.positions[i]);
  // By name: an Add or Delete since the snapshot may have moved the entries.
  controls_.options.cbbCustomProfile.SetText(snapshot_.customProfile);
  chosenHere_.reset();
  // A profile saved meanwhile may have changed the values the list showed.
  SelectProfileOfLists();
  controls_.window.Hide();
}

void TfrmOption::FormClose() { SelectProfileOfLists(); }

bool TfrmOption::CustomProfileMatches(const std::string& name) {
  const std::optional<ProfilePositions> positions =
      ParseProfileString(ReadConfigValue(parts_.dataFolder, kCustomProfilesFile, name));
  return positions && PositionsMatch(controls_.options, *positions);
}

void TfrmOption::SelectProfileOfLists() {
  ISelector& profile = controls_.options.cbbProfile;
  const int shown = profile.ItemIndex();
  const std::string shownName = shown >= 0 ? profile.Item(shown) : std::string();
  const std::vector<std::string> names = ReadCustomProfileNames(parts_.dataFolder);
  profile.Clear();
  FillProfileList(profile, names);

  const auto selectCustom = [&](const std::string& name) {
    const auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end() || !CustomProfileMatches(name)) return false;
    profile.SetItemIndex(kFirstCustomProfile + static_cast<int>(found - names.begin()));
    return true;
  };
  if (chosenHere_ && selectCustom(*chosenHere_)) return;
  if (shown >= 0 && shown < kFirstCustomProfile && PresetMatches(controls_.options, shown)) {
    profile.SetItemIndex(shown);
    return;
  }
  if (shown >= kFirstCustomProfile && selectCustom(shownName)) return;
  for (int preset = 0; preset < kPresetCount; ++preset) {
    if (PresetMatches(controls_.options, preset)) {
      profile.SetItemIndex(preset);
      return;
    }
  }
  for (const std::string& name : names) {
    if (selectCustom(name)) return;
  }
  profile.SetItemIndex(-1);
}

std::string TfrmOption::ReadCustomProfile() {
  const ISelector& custom = controls_.options.cbbCustomProfile;
  const int selected = custom.ItemIndex();
  return ReadConfigValue(parts_.dataFolder, kCustomProfilesFile, selected >= 0 ? custom.Item(selected) : "");
}

void TfrmOption::ApplyCustomProfile(bool quiet) {
  const ISelector& custom = controls_.options.cbbCustomProfile;
  const int selected = custom.ItemIndex();
  if (selected < 0) return;
  const std::optional<std::string> part =
      ApplyStoredProfile(controls_.options, parts_.dataFolder, custom.Item(selected), parts_.appFunc);
  if (!quiet && part) parts_.common.ShowMessageBox(NonNumberPartMessage(*part), kErrorBox);
}

void TfrmOption::ApplyMainWindowProfile() { profileInUse_.ApplyMainWindowProfile(); }

bool TfrmOption::AcceptName(const std::string& name) {
  const std::optional<std::string> problem = ProfileNameProblem(name);
  if (problem) parts_.common.ShowMessageBox(*problem, kWarningBox);
  return !problem;
}

std::string TfrmOption::WriteProfile(const std::string& name) {
  const std::string stored = StoredSpelling(name, ReadCustomProfileNames(parts_.dataFolder));
  TIniFile32(ConfigFilePath(parts_.dataFolder, kCustomProfilesFile))
      .WriteString(stored, stored, FormProfileString(controls_.options));
  return stored;
}

std::optional<std::string> TfrmOption::AddCustomProfile() {
  TIniFile32 counter(ConfigFilePath(parts_.dataFolder, kProfileCountFile));
  // Wider than the stored number, so that even its largest value counts on.
  const int64_t count = int64_t{counter.ReadInteger(kProfileCountKey, kProfileCountKey, 0)} + 1;
  counter.WriteString(kProfileCountKey, kProfileCountKey, std::to_string(count));

  const std::optional<std::string> name =
      parts_.dialogs.InputQuery(kApplicationTitle, kNamePrompt, kProposedNamePrefix + std::to_string(count));
  if (!name || !AcceptName(*name)) return std::nullopt;
  return WriteProfile(*name);
}

std::optional<std::string> TfrmOption::SaveCustomProfile() {
  const std::string name = controls_.options.cbbCustomProfile.Text();
  if (!AcceptName(name)) return std::nullopt;
  return WriteProfile(name);
}

void TfrmOption::DeleteCustomProfile() {
  ISelector& custom = controls_.options.cbbCustomProfile;
  if (custom.Count() == 0) return;
  TIniFile32(ConfigFilePath(parts_.dataFolder, kCustomProfilesFile)).EraseSection(custom.Text());
}

}  // namespace sonvarro
