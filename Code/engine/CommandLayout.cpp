#include "engine/CommandLayout.h"

#include <vector>

#include "services/TextHelpers.h"

namespace sonvarro {
namespace {

// The fragments between the source and the output path, in line order.
std::vector<std::string> OptionFragments(const TConvertParameterStruct& p) {
  if (p.OutputExtension == kAmrExtension)
    return {p.CodecOption,  p.VideoSizeOption, p.VideoBitrateOption, p.AudioBitrateOption,
            p.VolumeOption, kAmrAudioOptions,  p.FormatOption,       p.TrimOption};
  return {p.CodecOption,      p.AudioBitrateOption, p.VolumeOption, p.ChannelsOption,
          p.SampleRateOption, p.FormatOption,       p.TrimOption};
}

}  // namespace

EncoderCommand JoinCommandLine(const TConvertParameterStruct& params, const std::string& outputPath) {
  EncoderCommand command;
  command.text = params.EncoderPath + " -y -i \"" + params.SourceFile + "\"";
  command.args = {params.EncoderPath, "-y", "-i", params.SourceFile};
  for (const std::string& fragment : OptionFragments(params)) {
    command.text += fragment;
    // Fragments hold option tokens only, so cutting them at blanks is safe.
    std::vector<std::string> tokens;
    SplitNonEmpty(fragment, ' ', tokens);
    command.args.insert(command.args.end(), tokens.begin(), tokens.end());
  }
  command.text += " \"" + outputPath + "\"";
  command.args.push_back(outputPath);
  command.output = outputPath;
  return command;
}

}  // namespace sonvarro
