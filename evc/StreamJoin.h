#pragma once

#include <memory>

#include "AudioEncoder.h"
#include "Libav.h"

namespace sonvarro::evc {

// The side of a join that sees one encoder instance: it is handed every
// packet the instance makes, in order, kept or dropped, and gives back the
// kept ones in a form that can follow any other instance's packets.
class InstancePackets {
 public:
  virtual ~InstancePackets() = default;
  // Null for a packet that is not kept.
  virtual PacketPtr Take(AVPacket* packet, bool kept) = 0;
};

// How packets from separate encoder instances become one valid stream.
class StreamJoiner {
 public:
  virtual ~StreamJoiner() = default;
  // One per instance; called from the instances' threads.
  virtual std::unique_ptr<InstancePackets> ForInstance() = 0;
  // The kept packets in stream order, on the writing thread.
  virtual void Write(PacketPtr packet, const AudioEncoder::PacketSink& sink) = 0;
  virtual void Finish(const AudioEncoder::PacketSink& sink) = 0;
};

// Packets that join as they are (AAC, AC-3), or MP3's repacking.
std::unique_ptr<StreamJoiner> MakeStreamJoiner(AVCodecID codec);

}  // namespace sonvarro::evc
