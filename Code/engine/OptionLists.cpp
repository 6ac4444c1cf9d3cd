#include "engine/OptionLists.h"

#include <charconv>
#include <stdexcept>

#include "engine/OutputTables.h"
#include "services/TextFormats.h"

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

void ApplyEnabledStates(OptionControls& c, const EnabledLists& states) {
  c.cbbProfile.SetEnabled(states.profile);
  c.btnOptions.SetEnabled(states.options);
  const std::array<IControl*, 4> videoSelectors = {&c.cbbAspectratio, &c.cbbFramerate, &c.cbbVideoBitrate,
                                                   &c.cbbVideoSize};
  for (IControl* video : videoSelectors) video->SetEnabled(states.video);
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
  for (const OutputTypeRow& type : OutputTypeTable) c.cbbOutputFiletype.AddItem(std::string(type.caption));
  c.cbbOutputFiletype.SetItemIndex(kDefaultOutputType);
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

bool PresetMatches(OptionControls& c, int preset) {
  const int outputType = c.cbbOutputFiletype.ItemIndex();
  if (outputType < 0 || outputType >= kOutputTypeCount || preset < 0 || preset >= kPresetCount) return false;
  const std::vector<std::string> pieces = SplitText(
      std::string(OutputTypeTable[static_cast<size_t>(outputType)].presets[static_cast<size_t>(preset)]), '|');
  const std::array<ISelector*, 6> selectors = ProfileSelectors(c);
  for (size_t i = 0; i < pieces.size() && i < selectors.size(); ++i) {
    if (pieces[i] != kProfilePieceUnchanged && selectors[i]->ItemIndex() != ReadIndex(pieces[i])) return false;
  }
  return true;
}

void ApplyProfile(OptionControls& c, const std::function<void()>& applyCustomProfile) {
  const int outputType = c.cbbOutputFiletype.ItemIndex();
  const bool typeChosen = outputType >= 0 && outputType < kOutputTypeCount;
  // The enabled states follow the output type alone, for a custom profile too.
  if (typeChosen) ApplyEnabledStates(c, OutputTypeTable[static_cast<size_t>(outputType)].enabled);

  const int profile = c.cbbProfile.ItemIndex();
  if (profile >= kFirstCustomProfile) {
    c.cbbCustomProfile.SetItemIndex(profile - kFirstCustomProfile);
    if (applyCustomProfile) applyCustomProfile();
    return;
  }

  // Without a selected output type or profile there is no preset to apply.
  if (!typeChosen || profile < 0) return;

  ApplyPreset(c, OutputTypeTable[static_cast<size_t>(outputType)].presets[static_cast<size_t>(profile)]);
}

}  // namespace sonvarro
