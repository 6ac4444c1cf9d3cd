#pragma once

#include <functional>

#include "AudioEncoder.h"
#include "ChunkPlan.h"
#include "StreamJoin.h"

namespace sonvarro::evc {

// The frames to encode, stamped with their first sample, each `frameSize`
// long but the last; null at the end.
using FrameSource = std::function<FramePtr()>;

// Encodes the source's frames with several encoder instances at once, as the
// plan cuts them, and hands the packets to `write` in stream order on the
// calling thread; `afterPacket` runs after each (status, stop check; it may
// throw). The source and each instance run on threads of their own. Throws
// the first failure of any of them.
void EncodeInChunks(const FrameSource& source, int frameSize, EncoderFactory& factory, const AudioFormat& format,
                    const ChunkPlan& plan, StreamJoiner& joiner, const AudioEncoder::PacketSink& write,
                    const std::function<void()>& afterPacket);

}  // namespace sonvarro::evc
