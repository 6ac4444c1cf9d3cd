#include "StreamJoin.h"

#include "Mp3Reservoir.h"

namespace sonvarro::evc {
namespace {

class PassPackets : public InstancePackets {
 public:
  PacketPtr Take(AVPacket* packet, bool kept) override {
    if (!kept) return nullptr;
    PacketPtr taken = MakePacket();
    av_packet_move_ref(taken.get(), packet);
    return taken;
  }
};

// Frames that depend on earlier packets only through the signal they
// encode: each instance's pre-roll gives the first kept frame the overlap it
// needs, and the packets follow one another unchanged.
class PassJoiner : public StreamJoiner {
 public:
  std::unique_ptr<InstancePackets> ForInstance() override { return std::make_unique<PassPackets>(); }
  void Write(PacketPtr packet, const AudioEncoder::PacketSink& sink) override { sink(packet.get()); }
  void Finish(const AudioEncoder::PacketSink&) override {}
};

}  // namespace

std::unique_ptr<StreamJoiner> MakeStreamJoiner(AVCodecID codec) {
  if (codec == AV_CODEC_ID_MP3) return MakeMp3Joiner();
  return std::make_unique<PassJoiner>();
}

}  // namespace sonvarro::evc
