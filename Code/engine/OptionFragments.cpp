#include "engine/OptionFragments.h"

#include "engine/OutputTables.h"

namespace sonvarro {
namespace {

// " " + option + " " + the selected text, or the fall-back fragment when
// nothing is selected.
std::string SelectedOrDefault(const ISelector& selector, const char* option, const char* fallBack) {
  const std::string text = selector.Text();
  if (text.empty()) return fallBack;
  return std::string(" ") + option + " " + text;
}

const OutputTypeRow& SelectedRow(const OptionControls& controls) {
  return OutputTypeTable[static_cast<size_t>(SelectedOutputType(controls))];
}

}  // namespace

int SelectedOutputType(const OptionControls& controls) {
  const int index = controls.cbbOutputFiletype.ItemIndex();
  return index >= 0 && index < kOutputTypeCount ? index : kDefaultOutputType;
}

std::string MakeCodecOption(const OptionControls& controls) {
  return " " + std::string(SelectedRow(controls).codecFragment);
}

std::string MakeVideoBitrateOption(const OptionControls& controls) {
  return SelectedOrDefault(controls.cbbVideoBitrate, "-b", " -b 512");
}

std::string MakeVideoSizeOption(const OptionControls& controls) {
  return SelectedOrDefault(controls.cbbVideoSize, "-s", " -s 320x240");
}

std::string MakeFrameRateOption(const OptionControls& controls) {
  return SelectedOrDefault(controls.cbbFramerate, "-r", " -r 25");
}

std::string MakeAspectOption(const OptionControls& controls) {
  return SelectedOrDefault(controls.cbbAspectratio, "-aspect", " -aspect 4:3");
}

std::string MakeAudioBitrateOption(const OptionControls& controls) {
  return SelectedOrDefault(controls.cbbAudioBitrate, "-ab", " -ab 64");
}

std::string MakeVolumeOption(const OptionControls& controls) {
  return SelectedOrDefault(controls.cbbAudioVolumeGain, "-vol", " ");
}

std::string MakeChannelsOption(const OptionControls& controls) {
  // The items read "1 channel, Mono" and "2 channels, Stereo": the count is
  // the first character.
  const std::string text = controls.cbbAudioChannels.Text();
  if (text.empty()) return " -ac 2";
  return " -ac " + text.substr(0, 1);
}

std::string MakeSampleRateOption(const OptionControls& controls) {
  return SelectedOrDefault(controls.cbbAudioSample, "-ar", " -ar 44100");
}

std::string MakeFormatOption(const OptionControls& controls) {
  const std::string_view entry = SelectedRow(controls).formatFragment;
  if (entry == kNoFormatFragment) return "";
  return " -f " + std::string(entry);
}

std::string MakeExtension(const OptionControls& controls) { return std::string(SelectedRow(controls).extension); }

}  // namespace sonvarro
