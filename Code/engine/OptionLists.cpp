#include "engine/OptionLists.h"

#include <charconv>
#include <stdexcept>

#include "engine/OutputTables.h"
#include "services/TextHelpers.h"

namespace sonvarro {

namespace {

int ReadIndex(std::string_view text) {
  int index = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw std::invalid_argument("not a selection index: " + std::string(text));
  }
  return index;
}

enum class Enable { kOn, kOff, kKeep };

// What a preset of each output type enables. AMR leaves the Options button as
// it was; OGG has no profile choice at all; OGG and WAV carry no video.
struct EnabledStates {
  Enable profile;
  Enable options;
  Enable video;
};

constexpr std::array<EnabledStates, kOutputTypeCount> kEnabledStates = {{
    {Enable::kOn, Enable::kKeep, Enable::kOn},   // AMR
    {Enable::kOn, Enable::kOn, Enable::kOn},     // AAC
    {Enable::kOn, Enable::kOn, Enable::kOn},     // MP3
    {Enable::kOn, Enable::kOn, Enable::kOn},     // AC3
    {Enable::kOn, Enable::kOn, Enable::kOn},     // M4A
    {Enable::kOff, Enable::kOff, Enable::kOff},  // OGG
    {Enable::kOn, Enable::kOn, Enable::kOff},    // WAV
}};

void SetEnabled(IControl& control, Enable state) {
  if (state != Enable::kKeep) control.SetEnabled(state == Enable::kOn);
}

void ApplyEnabledStates(OptionControls& c, const EnabledStates& states) {
  SetEnabled(c.cbbProfile, states.profile);
  SetEnabled(c.btnOptions, states.options);
  const std::array<IControl*, 4> videoSelectors = {&c.cbbAspectratio, &c.cbbFramerate, &c.cbbVideoBitrate,
                                                   &c.cbbVideoSize};
  for (IControl* video : videoSelectors) {
    SetEnabled(*video, states.video);
  }
}

void ApplyPreset(OptionControls& controls, std::string_view profileString) {
  const std::vector<std::string> pieces = SplitText(std::string(profileString), '|');
  const std::array<ISelector*, 6> selectors = ProfileSelectors(controls);
  for (size_t i = 0; i < pieces.size() && i < selectors.size(); ++i) {
    if (pieces[i] != kProfilePieceUnchanged) selectors[i]->SetItemIndex(ReadIndex(pieces[i]));
  }
}

}  // namespace

void FillFromTable(ISelector& selector, const std::string_view* entries, std::size_t count) {
  if (count == 0) return;
  for (std::size_t i = 0; i + 1 < count; ++i) selector.AddItem(std::string(entries[i]));
  selector.SetItemIndex(ReadIndex(entries[count - 1]));
}

void FillProfileList(ISelector& profile, const std::vector<std::string>& customNames) {
  for (int i = 0; i < kPresetCount; ++i) profile.AddItem(std::string(ProfileNames[static_cast<size_t>(i)]));
  for (const std::string& name : customNames) profile.AddItem(name);
  profile.SetItemIndex(ReadIndex(ProfileNames.back()));
}

void FillOptionLists(OptionControls& c, const std::vector<std::string>& customProfileNames) {
  FillFromTable(c.cbbOutputFiletype, OutputTypeCaptions);
  FillProfileList(c.cbbProfile, customProfileNames);
  FillFromTable(c.cbbAspectratio, AspectRatios);
  FillFromTable(c.cbbVideoBitrate, VideoBitrates);
  FillFromTable(c.cbbAudioBitrate, AudioBitrates);
  FillFromTable(c.cbbAudioChannels, AudioChannelChoices);
  FillFromTable(c.cbbFramerate, FrameRates);
  FillFromTable(c.cbbAudioSample, SampleRates);
  FillFromTable(c.cbbAudioVolumeGain, VolumeGains);
  FillFromTable(c.cbbVideoSize, VideoSizes);
}

std::array<ISelector*, 6> ProfileSelectors(OptionControls& c) {
  return {&c.cbbVideoSize,    &c.cbbFramerate,     &c.cbbVideoBitrate,
          &c.cbbAudioBitrate, &c.cbbAudioChannels, &c.cbbAudioSample};
}

void ApplyProfile(OptionControls& c, const std::function<void()>& applyCustomProfile) {
  const int profile = c.cbbProfile.ItemIndex();
  if (profile >= kFirstCustomProfile) {
    c.cbbCustomProfile.SetItemIndex(profile - kFirstCustomProfile);
    if (applyCustomProfile) applyCustomProfile();
    return;
  }

  // Without a selected output type or profile there is no preset to apply.
  const int outputType = c.cbbOutputFiletype.ItemIndex();
  if (outputType < 0 || outputType >= kOutputTypeCount || profile < 0) return;

  ApplyEnabledStates(c, kEnabledStates[static_cast<size_t>(outputType)]);
  ApplyPreset(c, PresetTable[static_cast<size_t>(outputType)][static_cast<size_t>(profile)]);
}

}  // namespace sonvarro
