#include "AudioEncoder.h"

#include "AmrNbEncoder.h"
#include "LibavEncoder.h"

namespace sonvarro::evc {

std::unique_ptr<EncoderFactory> EncoderFactory::ForCodec(AVCodecID codec, bool globalHeader) {
  if (codec == AV_CODEC_ID_AMR_NB) return MakeAmrNbEncoderFactory();
  const AVCodec* encoder = avcodec_find_encoder(codec);
  if (!encoder) return nullptr;
  return MakeLibavEncoderFactory(encoder, globalHeader);
}

}  // namespace sonvarro::evc
