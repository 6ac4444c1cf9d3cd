#include "engine/LineLayouts.h"

#include <vector>

#include "services/TextFormats.h"

namespace sonvarro {
namespace {

// Marks the trim option's place among the fragments.
constexpr const std::string* kTrimPlace = nullptr;

// The fragments between the source and the output path, in line order.
std::vector<const std::string*> OptionFragments(const TConvertParameterStruct& p) {
  static const std::string amrAudio = kAmrAudioOptions;
  if (p.OutputExtension == kAmrExtension)
    return {&p.CodecOption,  &p.VideoSizeOption, &p.VideoBitrateOption, &p.AudioBitrateOption,
            &p.VolumeOption, &amrAudio,          &p.FormatOption,       kTrimPlace};
  return {&p.CodecOption,      &p.AudioBitrateOption, &p.VolumeOption, &p.ChannelsOption,
          &p.SampleRateOption, &p.FormatOption,       kTrimPlace};
}

}  // namespace

std::string TrimOptionText(const std::optional<TrimArguments>& trim) {
  return trim ? " -ss " + trim->start + " -t " + trim->length : "";
}

EncoderCommand JoinCommandLine(const TConvertParameterStruct& params, const std::optional<TrimArguments>& trim,
                               const std::string& outputPath) {
  EncoderCommand command;
  command.text = params.EncoderPath + " -y -i \"" + params.SourceFile + "\"";
  command.args = {params.EncoderPath, "-y", "-i", params.SourceFile};
  for (const std::string* fragment : OptionFragments(params)) {
    if (fragment == kTrimPlace) {
      command.text += TrimOptionText(trim);
      if (trim) command.args.insert(command.args.end(), {"-ss", trim->start, "-t", trim->length});
      continue;
    }
    command.text += *fragment;
    // The other fragments are option names and the selectors' values, one
    // blank before each.
    std::vector<std::string> tokens;
    SplitNonEmpty(*fragment, ' ', tokens);
    command.args.insert(command.args.end(), tokens.begin(), tokens.end());
  }
  command.text += " \"" + outputPath + "\"";
  command.args.push_back(outputPath);
  command.output = outputPath;
  return command;
}

}  // namespace sonvarro
