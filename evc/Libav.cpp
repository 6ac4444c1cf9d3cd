#include "Libav.h"

#include <new>

namespace sonvarro::evc {

FramePtr MakeFrame() {
  FramePtr frame(av_frame_alloc());
  if (!frame) throw std::bad_alloc();
  return frame;
}

PacketPtr MakePacket() {
  PacketPtr packet(av_packet_alloc());
  if (!packet) throw std::bad_alloc();
  return packet;
}

std::string FileUrl(const std::string& path) { return "file:" + path; }

}  // namespace sonvarro::evc
