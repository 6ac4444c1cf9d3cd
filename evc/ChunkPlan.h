#pragma once

#include <cstdint>
#include <optional>

#include "Libav.h"

namespace sonvarro::evc {

// How one stream is cut up to be encoded by several encoder instances at
// once: chunk k keeps the packets of frames [k * chunkFrames, (k + 1) *
// chunkFrames); its instance starts prerollFrames earlier and runs
// postrollFrames on, and the packets of those frames are dropped.
struct ChunkPlan {
  int instances = 1;  // 1: one encoder for the whole stream, no chunks
  int64_t chunkFrames = 0;
  int prerollFrames = 0;   // settles the encoder's state: delay, window overlap, psychoacoustics
  int postrollFrames = 0;  // covers the encoder's look-ahead past the chunk's end
  // An instance that has encoded less than this gets a longer pre-roll, up
  // to this much, for the state its encoder builds up over seconds.
  int64_t warmUpFrames = 0;
};

struct StreamShape {
  AVCodecID codec = AV_CODEC_ID_NONE;
  int sampleRate = 0;
  int channels = 0;
  int64_t bitRate = 0;
  int frameSize = 0;
  int primingSamples = 0;
  std::optional<int64_t> expectedSamples;  // the output's length, when known
};

// One instance per core (`cores`), or `instancesAsked`; at most one per
// chunk. Codecs whose frames cannot be joined from separate instances, and
// streams shorter than a few chunks, keep one instance.
ChunkPlan PlanChunks(const StreamShape& stream, std::optional<int> instancesAsked, int cores);

}  // namespace sonvarro::evc
