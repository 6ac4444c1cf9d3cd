#include "Mp3Reservoir.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

#include "EncodeError.h"

namespace sonvarro::evc {
namespace {

constexpr int kHeaderBytes = 4;
constexpr int kCrcBytes = 2;
constexpr int kTopBitrateIndex = 14;
constexpr int kMpeg1Kbps[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int kMpeg2Kbps[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr int kMpeg1Rates[3] = {44100, 48000, 32000};
// LAME's default bound on what a decoder holds for one frame: the frame and
// the reservoir bytes it reaches back into (7680 bits a granule, its
// "maximum" buffer constraint). The join keeps within it too.
constexpr int kDecoderBufferBytesPerGranule = 960;
// Frames are written only once this many bytes of slots follow them: no
// later frame can reach back into them, and the frame before a join is still
// open to a higher bitrate when the join needs it.
constexpr int64_t kHoldBytes = 2048;
// An instance's own main-data stream, as far back as a frame can reach and
// a little more.
constexpr size_t kHistoryBytes = 4096;

struct FrameHeader {
  bool lsf = false;  // MPEG-2 or 2.5: one granule a frame, smaller fields
  int sampleRateIndex = 0;
  int sampleRate = 0;
  int bitrateIndex = 0;
  bool padding = false;
  int channels = 0;
  bool crc = false;

  int Kbps() const { return (lsf ? kMpeg2Kbps : kMpeg1Kbps)[bitrateIndex]; }
  int FrameBytes() const { return (lsf ? 72000 : 144000) * Kbps() / sampleRate + (padding ? 1 : 0); }
  int SideInfoBytes() const { return lsf ? (channels == 1 ? 9 : 17) : (channels == 1 ? 17 : 32); }
  int PrefixBytes() const { return kHeaderBytes + (crc ? kCrcBytes : 0) + SideInfoBytes(); }
  int SlotBytes() const { return FrameBytes() - PrefixBytes(); }
  int MaxReach() const { return lsf ? 255 : 511; }
  // How far back main data may begin: the format's limit, and the decoder's
  // buffer less the frame itself.
  int Reach() const { return std::clamp((lsf ? 1 : 2) * kDecoderBufferBytesPerGranule - FrameBytes(), 0, MaxReach()); }
};

std::optional<FrameHeader> ParseHeader(const uint8_t* data, int size) {
  if (size < kHeaderBytes || data[0] != 0xFF || (data[1] & 0xE0) != 0xE0) return std::nullopt;
  const int version = (data[1] >> 3) & 3;  // 0: MPEG-2.5, 2: MPEG-2, 3: MPEG-1
  const int layer = (data[1] >> 1) & 3;    // 1: layer III
  FrameHeader header;
  header.crc = !(data[1] & 1);
  header.bitrateIndex = data[2] >> 4;
  header.sampleRateIndex = (data[2] >> 2) & 3;
  header.padding = (data[2] >> 1) & 1;
  header.channels = (data[3] >> 6) == 3 ? 1 : 2;
  if (version == 1 || layer != 1 || header.bitrateIndex == 0 || header.bitrateIndex == 15 ||
      header.sampleRateIndex == 3)
    return std::nullopt;
  header.lsf = version != 3;
  header.sampleRate = kMpeg1Rates[header.sampleRateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
  return header;
}

uint32_t ReadBits(const uint8_t* data, int offset, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i, ++offset) value = (value << 1) | ((data[offset >> 3] >> (7 - (offset & 7))) & 1);
  return value;
}

int MainDataBegin(const FrameHeader& header, const uint8_t* side) { return ReadBits(side, 0, header.lsf ? 8 : 9); }

void SetMainDataBegin(const FrameHeader& header, uint8_t* side, int begin) {
  if (header.lsf) {
    side[0] = static_cast<uint8_t>(begin);
  } else {
    side[0] = static_cast<uint8_t>(begin >> 1);
    side[1] = static_cast<uint8_t>((side[1] & 0x7F) | ((begin & 1) << 7));
  }
}

// Bytes of main data: the part2_3_length of every granule and channel.
int MainDataBytes(const FrameHeader& header, const uint8_t* side) {
  const bool mono = header.channels == 1;
  int offset = header.lsf ? 8 + (mono ? 1 : 2) : 9 + (mono ? 5 : 3) + 4 * header.channels;
  const int granules = header.lsf ? 1 : 2;
  const int granuleBits = header.lsf ? 63 : 59;
  int bits = 0;
  for (int g = 0; g < granules; ++g)
    for (int c = 0; c < header.channels; ++c, offset += granuleBits) bits += ReadBits(side, offset, 12);
  return (bits + 7) / 8;
}

[[noreturn]] void Unjoinable(const std::string& why) {
  throw StageError(Failure::kOutput, "the MP3 encoder's frames cannot be joined: " + why);
}

// Turns an instance's frames into self-contained ones: the header, the side
// information and the frame's own main data right after it.
class MainDataTaker : public InstancePackets {
 public:
  PacketPtr Take(AVPacket* packet, bool kept) override {
    const std::optional<FrameHeader> header = ParseHeader(packet->data, packet->size);
    if (!header || header->FrameBytes() != packet->size) Unjoinable("not one frame a packet");
    if (header->crc) Unjoinable("frames with checksums");
    const uint8_t* side = packet->data + header->PrefixBytes() - header->SideInfoBytes();
    history_.insert(history_.end(), packet->data + header->PrefixBytes(), packet->data + packet->size);
    const int64_t slotStart = static_cast<int64_t>(history_.size()) - header->SlotBytes();
    const int64_t start = slotStart - MainDataBegin(*header, side);
    const int bytes = MainDataBytes(*header, side);
    if (start < 0 || start + bytes > static_cast<int64_t>(history_.size())) Unjoinable("main data out of reach");

    PacketPtr taken;
    if (kept) {
      taken = MakePacket();
      if (av_new_packet(taken.get(), header->PrefixBytes() + bytes) < 0) throw std::bad_alloc();
      std::memcpy(taken->data, packet->data, header->PrefixBytes());
      std::memcpy(taken->data + header->PrefixBytes(), history_.data() + start, bytes);
      if (av_packet_copy_props(taken.get(), packet) < 0) throw std::bad_alloc();
    }
    if (history_.size() > 2 * kHistoryBytes) history_.erase(history_.begin(), history_.end() - kHistoryBytes);
    return taken;
  }

 private:
  std::vector<uint8_t> history_;
};

// Lays self-contained frames out as one stream (see Mp3Reservoir.h).
// Positions count bytes of the output's main-data stream: the slots of all
// frames one after another, without headers and side information.
class ReservoirPacker {
 public:
  void Add(PacketPtr packet, const AudioEncoder::PacketSink& sink) {
    const std::optional<FrameHeader> header = ParseHeader(packet->data, packet->size);
    if (!header) Unjoinable("a damaged frame");
    Frame frame;
    frame.header = *header;
    frame.mainBytes = packet->size - header->PrefixBytes();
    frame.packet = std::move(packet);
    pending_.push_back(std::move(frame));
    if (!Lay(pending_.size() - 1)) Repair();
    while (pending_.size() > 1 && SlotEnd(pending_.back()) - SlotEnd(pending_.front()) >= kHoldBytes) Emit(sink);
  }

  void Finish(const AudioEncoder::PacketSink& sink) {
    while (!pending_.empty()) Emit(sink);
  }

 private:
  struct Frame {
    PacketPtr packet;  // self-contained; its timestamps and side data go on
    FrameHeader header;
    int mainBytes = 0;
    int64_t slotStart = 0;
    int64_t dataStart = 0;
  };

  static int64_t SlotEnd(const Frame& frame) { return frame.slotStart + frame.header.SlotBytes(); }
  static int64_t DataEnd(const Frame& frame) { return frame.dataStart + frame.mainBytes; }

  // Places frame i's slot after the one before and its main data as early
  // as allowed; false when the data does not fit.
  bool Lay(size_t i) {
    Frame& frame = pending_[i];
    frame.slotStart = i == 0 ? written_ : SlotEnd(pending_[i - 1]);
    const int64_t previousEnd = i == 0 ? writtenDataEnd_ : DataEnd(pending_[i - 1]);
    frame.dataStart = std::max({previousEnd, written_, frame.slotStart - frame.header.Reach()});
    return DataEnd(frame) <= SlotEnd(frame);
  }

  // The newest frame does not fit: raise the bitrate of it or of the open
  // frames before it, lowest first, until everything fits again. Frames
  // whose main data begins in bytes already written stay as they are.
  void Repair() {
    size_t open = 0;
    while (open < pending_.size() && pending_[open].dataStart < written_) ++open;
    for (;;) {
      Frame* lowest = nullptr;
      for (size_t i = open; i < pending_.size(); ++i)
        if (pending_[i].header.bitrateIndex < kTopBitrateIndex &&
            (!lowest || pending_[i].header.bitrateIndex <= lowest->header.bitrateIndex))
          lowest = &pending_[i];
      if (!lowest) Unjoinable("a frame needs more room than the top bitrate gives");
      ++lowest->header.bitrateIndex;
      lowest->header.padding = false;
      bool fits = true;
      for (size_t i = open; i < pending_.size() && fits; ++i) fits = Lay(i);
      if (fits) return;
    }
  }

  void Emit(const AudioEncoder::PacketSink& sink) {
    const Frame& frame = pending_.front();
    const FrameHeader& header = frame.header;
    PacketPtr out = MakePacket();
    if (av_new_packet(out.get(), header.FrameBytes()) < 0) throw std::bad_alloc();
    uint8_t* data = out->data;
    std::memcpy(data, frame.packet->data, header.PrefixBytes());
    data[2] = static_cast<uint8_t>((header.bitrateIndex << 4) | (header.sampleRateIndex << 2) |
                                   (header.padding ? 2 : 0) | (data[2] & 1));
    SetMainDataBegin(header, data + header.PrefixBytes() - header.SideInfoBytes(),
                     static_cast<int>(frame.slotStart - frame.dataStart));
    // The slot holds the end of this frame's main data and the start of the
    // following frames'; what is left over stays zero.
    uint8_t* slot = data + header.PrefixBytes();
    std::memset(slot, 0, header.SlotBytes());
    for (const Frame& other : pending_) {
      const int64_t from = std::max(other.dataStart, frame.slotStart);
      const int64_t to = std::min(DataEnd(other), SlotEnd(frame));
      if (other.dataStart >= SlotEnd(frame)) break;
      if (from < to)
        std::memcpy(slot + (from - frame.slotStart),
                    other.packet->data + other.header.PrefixBytes() + (from - other.dataStart), to - from);
    }
    if (av_packet_copy_props(out.get(), frame.packet.get()) < 0) throw std::bad_alloc();
    written_ = SlotEnd(frame);
    writtenDataEnd_ = DataEnd(frame);
    pending_.pop_front();
    sink(out.get());
  }

  std::deque<Frame> pending_;
  int64_t written_ = 0;         // main-data stream written up to here
  int64_t writtenDataEnd_ = 0;  // the end of the last written frame's main data
};

class Mp3Joiner : public StreamJoiner {
 public:
  std::unique_ptr<InstancePackets> ForInstance() override { return std::make_unique<MainDataTaker>(); }
  void Write(PacketPtr packet, const AudioEncoder::PacketSink& sink) override { packer_.Add(std::move(packet), sink); }
  void Finish(const AudioEncoder::PacketSink& sink) override { packer_.Finish(sink); }

 private:
  ReservoirPacker packer_;
};

}  // namespace

namespace {

// The frame LAME writes at this rate and bitrate, without padding.
std::optional<FrameHeader> HeaderFor(int sampleRate, int channels, int64_t bitRate) {
  FrameHeader header;
  header.channels = channels;
  header.sampleRate = sampleRate;
  header.sampleRateIndex = -1;
  for (int shift = 0; shift <= 2 && header.sampleRateIndex < 0; ++shift)
    for (int i = 0; i < 3; ++i)
      if (kMpeg1Rates[i] >> shift == sampleRate) {
        header.sampleRateIndex = i;
        header.lsf = shift > 0;
      }
  if (header.sampleRateIndex < 0) return std::nullopt;
  const int* kbps = header.lsf ? kMpeg2Kbps : kMpeg1Kbps;
  for (int i = 1; i <= kTopBitrateIndex; ++i)
    if (int64_t{kbps[i]} * 1000 == bitRate) header.bitrateIndex = i;
  if (header.bitrateIndex == 0) return std::nullopt;
  return header;
}

}  // namespace

bool Mp3ChunksJoin(int sampleRate, int channels, int64_t bitRate) {
  std::optional<FrameHeader> header = HeaderFor(sampleRate, channels, bitRate);
  if (!header) return false;
  const int base = header->FrameBytes();
  const int borrowable = header->Reach();
  header->bitrateIndex = kTopBitrateIndex;
  return 2 * (header->FrameBytes() - base) >= borrowable;
}

int Mp3FramesWithinReach(int sampleRate, int channels, int64_t bitRate) {
  const std::optional<FrameHeader> header = HeaderFor(sampleRate, channels, bitRate);
  if (!header) return 0;
  return (header->Reach() + header->SlotBytes() - 1) / header->SlotBytes();
}

std::unique_ptr<StreamJoiner> MakeMp3Joiner() { return std::make_unique<Mp3Joiner>(); }

}  // namespace sonvarro::evc
