#include "OutputContainer.h"

#include <cstring>

#include "EncodeError.h"

namespace sonvarro::evc {

const AVOutputFormat* ChooseContainer(const std::string& outputPath, const std::string& formatName) {
  const std::string quoted = "\"" + outputPath + "\"";
  if (!formatName.empty()) {
    const AVOutputFormat* named = av_guess_format(formatName.c_str(), nullptr, nullptr);
    if (!named)
      throw EncodeError(Failure::kBadOptions, "unknown container \"" + formatName + "\" for output " + quoted);
    return named;
  }
  const AVOutputFormat* guessed = av_guess_format(nullptr, outputPath.c_str(), nullptr);
  if (!guessed || guessed->audio_codec == AV_CODEC_ID_NONE)
    throw EncodeError(Failure::kOutput, "cannot tell an audio container from the name of output " + quoted);
  return guessed;
}

AVCodecID ChooseAudioCodec(const AVOutputFormat* container, const std::string& codecName,
                           const std::string& outputPath) {
  AVCodecID codec = container->audio_codec;
  if (!codecName.empty()) {
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get_by_name(codecName.c_str());
    if (!descriptor || descriptor->type != AVMEDIA_TYPE_AUDIO)
      throw EncodeError(Failure::kBadOptions, "unknown audio codec \"" + codecName + "\"");
    codec = descriptor->id;
  }
  // A negative answer means the muxer keeps no list: such raw containers
  // hold their own codec only.
  const int answer = codec == AV_CODEC_ID_NONE ? 0 : avformat_query_codec(container, codec, FF_COMPLIANCE_NORMAL);
  if (answer == 0 || (answer < 0 && codec != container->audio_codec))
    throw EncodeError(Failure::kOutput, std::string("the ") + container->name + " container of output \"" + outputPath +
                                            "\" cannot hold " + avcodec_get_name(codec) + " audio");
  return codec;
}

}  // namespace sonvarro::evc
