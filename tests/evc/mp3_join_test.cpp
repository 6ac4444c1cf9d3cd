#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "Mp3Reservoir.h"

namespace sonvarro::evc {
namespace {

// MPEG-1 layer III, 44100 Hz, 128 kbit/s, stereo, no checksum.
constexpr int kFrameBytes = 417;
constexpr int kSideInfoBytes = 32;
constexpr int kSlotBytes = kFrameBytes - 4 - kSideInfoBytes;
constexpr int kReach = 511;

using Bytes = std::vector<uint8_t>;

void PutBits(Bytes& data, int offset, int count, uint32_t value) {
  for (int i = count - 1; i >= 0; --i, ++offset) {
    const uint8_t bit = 1u << (7 - (offset & 7));
    if ((value >> i) & 1)
      data[offset >> 3] |= bit;
    else
      data[offset >> 3] &= ~bit;
  }
}

// One encoder instance's frames, laid out as LAME lays them: each frame's
// main data right after the previous frame's, reaching back at most 511
// bytes into the frames before it.
class Instance {
 public:
  // Adds a frame with `mainData`; false when it cannot fit.
  bool Add(const Bytes& mainData, int64_t pts) {
    const int reach = std::min(reservoir_, kReach);
    if (static_cast<int>(mainData.size()) > reach + kSlotBytes) return false;
    Bytes frame(kFrameBytes, 0);
    frame[0] = 0xFF;
    frame[1] = 0xFB;                 // MPEG-1, layer III, no checksum
    frame[2] = (9 << 4) | (0 << 2);  // 128 kbit/s, 44100 Hz, no padding
    frame[3] = 0;                    // stereo
    Bytes side(kSideInfoBytes, 0);
    PutBits(side, 0, 9, reach);                        // main_data_begin
    int bits = static_cast<int>(mainData.size()) * 8;  // spread over the granules and channels
    for (int g = 0, offset = 9 + 3 + 8; g < 4; ++g, offset += 59) {
      const int here = std::min(bits, 4095);
      PutBits(side, offset, 12, here);
      bits -= here;
    }
    std::copy(side.begin(), side.end(), frame.begin() + 4);
    // The main data begins `reach` bytes back, in the slots already made.
    stream_.resize(stream_.size() - reach);
    stream_.insert(stream_.end(), mainData.begin(), mainData.end());
    const int64_t slotStart = written_;
    written_ += kSlotBytes;
    stream_.resize(written_, 0);
    reservoir_ = reach + kSlotBytes - static_cast<int>(mainData.size());
    frames_.push_back({frame, slotStart, pts});
    return true;
  }

  // The frames as bytes, now that every slot is filled.
  std::vector<PacketPtr> Packets() const {
    std::vector<PacketPtr> packets;
    for (const Frame& frame : frames_) {
      PacketPtr packet = MakePacket();
      av_new_packet(packet.get(), kFrameBytes);
      std::copy(frame.header.begin(), frame.header.begin() + 4 + kSideInfoBytes, packet->data);
      std::copy(stream_.begin() + frame.slotStart, stream_.begin() + frame.slotStart + kSlotBytes,
                packet->data + 4 + kSideInfoBytes);
      packet->pts = frame.pts;
      packet->duration = 1152;
      packets.push_back(std::move(packet));
    }
    return packets;
  }

 private:
  struct Frame {
    Bytes header;
    int64_t slotStart;
    int64_t pts;
  };
  std::vector<Frame> frames_;
  Bytes stream_;
  int64_t written_ = 0;
  int reservoir_ = 0;
};

Bytes Data(std::mt19937& random, int size) {
  Bytes data(size);
  for (uint8_t& b : data) b = static_cast<uint8_t>(random());
  return data;
}

// The main data each frame of a stream carries, read the way a decoder
// reads it: from main_data_begin bytes back.
std::vector<Bytes> MainDataOf(const std::vector<Bytes>& frames) {
  std::unique_ptr<StreamJoiner> joiner = MakeMp3Joiner();
  std::unique_ptr<InstancePackets> reader = joiner->ForInstance();
  std::vector<Bytes> result;
  for (const Bytes& frame : frames) {
    PacketPtr packet = MakePacket();
    av_new_packet(packet.get(), static_cast<int>(frame.size()));
    std::copy(frame.begin(), frame.end(), packet->data);
    PacketPtr own = reader->Take(packet.get(), true);
    result.emplace_back(own->data + 4 + kSideInfoBytes, own->data + own->size);
  }
  return result;
}

TEST(EvcMp3Join, FramesFromTwoInstancesKeepTheirMainDataAcrossJoins) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    // Two instances take turns, as chunks do: each encodes a pre-roll that
    // is dropped, then its chunk. The instance after a join may have saved
    // up a full reservoir and spend it at once, while the one before left
    // none: the join must make room.
    Instance instances[2];
    std::vector<Bytes> expected;
    std::vector<std::pair<int, size_t>> kept;  // instance, frame index
    std::vector<int> counts(2, 0);
    int64_t pts = 0;
    for (int chunk = 0; chunk < 6; ++chunk) {
      Instance& instance = instances[chunk % 2];
      int& count = counts[chunk % 2];
      for (int preroll = 0; preroll < 4 && chunk > 0; ++preroll, ++count)
        ASSERT_TRUE(instance.Add(Data(random, round % 2 ? 20 : 300), -1));
      const int frames = 3 + static_cast<int>(random() % 20);
      for (int i = 0; i < frames; ++i, ++count) {
        // Greedy first frames after a join in odd rounds, random sizes else.
        int size = static_cast<int>(random() % (kSlotBytes + kReach));
        if (i == 0 && round % 2) size = kSlotBytes + kReach;
        if (i + 1 == frames && round % 2) size = kSlotBytes;  // leave the next one nothing to borrow
        Bytes data = Data(random, size);
        while (!instance.Add(data, pts)) data.pop_back();
        expected.push_back(data);
        kept.push_back({chunk % 2, static_cast<size_t>(count)});
        pts += 1152;
      }
    }

    std::unique_ptr<StreamJoiner> joiner = MakeMp3Joiner();
    std::unique_ptr<InstancePackets> sides[2] = {joiner->ForInstance(), joiner->ForInstance()};
    std::vector<std::vector<PacketPtr>> made;
    for (const Instance& instance : instances) made.push_back(instance.Packets());
    std::vector<std::vector<PacketPtr>> taken(2);
    for (int i = 0; i < 2; ++i)
      for (size_t f = 0; f < made[i].size(); ++f) {
        const bool keep = std::find(kept.begin(), kept.end(), std::make_pair(i, f)) != kept.end();
        PacketPtr packet = sides[i]->Take(made[i][f].get(), keep);
        if (keep) taken[i].push_back(std::move(packet));
      }
    std::vector<Bytes> out;
    std::vector<int64_t> stamps;
    const AudioEncoder::PacketSink sink = [&](AVPacket* packet) {
      out.emplace_back(packet->data, packet->data + packet->size);
      stamps.push_back(packet->pts);
    };
    size_t next[2] = {0, 0};
    for (const auto& [i, f] : kept) {
      (void)f;
      joiner->Write(std::move(taken[i][next[i]++]), sink);
    }
    joiner->Finish(sink);

    ASSERT_EQ(out.size(), expected.size());
    for (size_t i = 0; i < stamps.size(); ++i) EXPECT_EQ(stamps[i], int64_t(i) * 1152);
    EXPECT_EQ(MainDataOf(out), expected);
  }
}

TEST(EvcMp3Join, JoinsOnlyWhereTwoFramesCanGrowByAWholeReservoir) {
  EXPECT_TRUE(Mp3ChunksJoin(44100, 2, 128000));
  EXPECT_TRUE(Mp3ChunksJoin(48000, 2, 224000));
  EXPECT_TRUE(Mp3ChunksJoin(22050, 1, 48000));
  EXPECT_FALSE(Mp3ChunksJoin(44100, 2, 320000));  // no higher bitrate to grow into
  EXPECT_FALSE(Mp3ChunksJoin(44100, 2, 256000));
  EXPECT_FALSE(Mp3ChunksJoin(44100, 2, 100000));  // not a bitrate MP3 has
}

}  // namespace
}  // namespace sonvarro::evc
