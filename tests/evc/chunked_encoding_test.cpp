#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "ChunkedEncoding.h"
#include "EncodeError.h"

namespace sonvarro::evc {
namespace {

constexpr int kFrame = 10;
constexpr int kPriming = 15;         // not a whole frame: the grid is offset
constexpr int kLookaheadFrames = 2;  // held back, as LAME holds frames back

// An encoder whose packets hold exactly the samples it was given, kFrame at
// a time, after kPriming samples of silence and kLookaheadFrames of
// look-ahead, stamped as libavcodec stamps them. Chunks joined from several of these
// must give back the very packets one of them gives for the whole stream.
class EchoEncoder : public AudioEncoder {
 public:
  explicit EchoEncoder(int failAfterFrames) : failAfterFrames_(failAfterFrames), packet_(MakePacket()) {}

  const AudioFormat& Format() const override { return format_; }
  AVSampleFormat SampleFormat() const override { return AV_SAMPLE_FMT_FLTP; }
  int FrameSize() const override { return kFrame; }
  int PrimingSamples() const override { return kPriming; }
  void FillParameters(AVCodecParameters*) const override {}
  void Encode(const AVFrame* frame, const PacketSink& sink) override {
    if (!frame) {
      while (!held_.empty()) Emit(sink);
      return;
    }
    if (++frames_ == failAfterFrames_) throw StageError(Failure::kOutput, "the echo encoder failed");
    if (held_.empty() && !started_)
      for (int i = 0; i < kPriming; ++i) held_.push_back({0.0f, frame->pts - kPriming + i});
    started_ = true;
    const float* samples = reinterpret_cast<const float*>(frame->extended_data[0]);
    for (int i = 0; i < frame->nb_samples; ++i) held_.push_back({samples[i], frame->pts + i});
    while (held_.size() >= (1 + kLookaheadFrames) * kFrame) Emit(sink);
  }

 private:
  struct Sample {
    float value;
    int64_t pts;
  };
  void Emit(const PacketSink& sink) {
    if (av_new_packet(packet_.get(), kFrame * sizeof(float)) < 0) throw std::bad_alloc();
    packet_->pts = held_.front().pts;
    packet_->duration = kFrame;
    float* out = reinterpret_cast<float*>(packet_->data);
    for (int i = 0; i < kFrame; ++i) {
      out[i] = held_.empty() ? 0.0f : held_.front().value;
      if (!held_.empty()) held_.erase(held_.begin());
    }
    sink(packet_.get());
    av_packet_unref(packet_.get());
  }

  AudioFormat format_{1000, 1, 0};
  int failAfterFrames_;
  int frames_ = 0;
  bool started_ = false;
  std::vector<Sample> held_;
  PacketPtr packet_;
};

class NoProbe : public IEncoderProbe {
 public:
  std::string CodecName() const override { return "echo"; }
  std::vector<int> StatedSampleRates() const override { return {}; }
  std::vector<int> StatedChannelCounts() const override { return {}; }
  bool TakesBitrate() const override { return false; }
  bool Opens(const AudioFormat&) override { return true; }
  int64_t EffectiveBitrate(const AudioFormat&) override { return 0; }
};

class EchoFactory : public EncoderFactory {
 public:
  // The instance opened as number `failingInstance` fails at its
  // `failAfterFrames`th frame.
  explicit EchoFactory(int failingInstance = -1, int failAfterFrames = 0)
      : failingInstance_(failingInstance), failAfterFrames_(failAfterFrames) {}
  IEncoderProbe& Probe() override { return probe_; }
  std::unique_ptr<AudioEncoder> Open(const AudioFormat&) override {
    return std::make_unique<EchoEncoder>(opened_++ == failingInstance_ ? failAfterFrames_ : -1);
  }

 private:
  NoProbe probe_;
  int failingInstance_;
  int failAfterFrames_;
  std::atomic<int> opened_{0};
};

// Frames of a ramp (sample i holds i + 1), the last one `tail` samples long
// when `tail` > 0.
FrameSource Ramp(int frames, int tail) {
  auto next = std::make_shared<int64_t>(0);
  const int64_t total = int64_t{frames} * kFrame + tail;
  return [next, total]() -> FramePtr {
    if (*next >= total) return nullptr;
    FramePtr frame = MakeFrame();
    frame->format = AV_SAMPLE_FMT_FLTP;
    frame->sample_rate = 1000;
    frame->nb_samples = static_cast<int>(std::min<int64_t>(kFrame, total - *next));
    av_channel_layout_default(&frame->ch_layout, 1);
    if (av_frame_get_buffer(frame.get(), 0) < 0) throw std::bad_alloc();
    float* samples = reinterpret_cast<float*>(frame->extended_data[0]);
    for (int i = 0; i < frame->nb_samples; ++i) samples[i] = static_cast<float>(*next + i + 1);
    frame->pts = *next;
    *next += frame->nb_samples;
    return frame;
  };
}

struct Packet {
  int64_t pts;
  std::vector<float> samples;
  bool operator==(const Packet& other) const { return pts == other.pts && samples == other.samples; }
};

AudioEncoder::PacketSink Collect(std::vector<Packet>& packets) {
  return [&packets](AVPacket* packet) {
    const float* samples = reinterpret_cast<const float*>(packet->data);
    packets.push_back({packet->pts, std::vector<float>(samples, samples + packet->size / sizeof(float))});
  };
}

std::vector<Packet> OneInstance(int frames, int tail) {
  std::vector<Packet> packets;
  EchoEncoder encoder(-1);
  const FrameSource source = Ramp(frames, tail);
  const AudioEncoder::PacketSink sink = Collect(packets);
  while (FramePtr frame = source()) encoder.Encode(frame.get(), sink);
  encoder.Encode(nullptr, sink);
  return packets;
}

ChunkPlan Plan(int instances) {
  ChunkPlan plan;
  plan.instances = instances;
  plan.chunkFrames = 8;
  plan.prerollFrames = 3;   // the priming and a frame
  plan.postrollFrames = 3;  // the look-ahead and a frame
  return plan;
}

class PassThrough : public StreamJoiner {
 public:
  std::unique_ptr<InstancePackets> ForInstance() override { return MakeStreamJoiner(AV_CODEC_ID_AAC)->ForInstance(); }
  void Write(PacketPtr packet, const AudioEncoder::PacketSink& sink) override { sink(packet.get()); }
  void Finish(const AudioEncoder::PacketSink&) override {}
};

TEST(EvcChunkedEncoding, JoinsChunksIntoExactlyTheStreamOneInstanceMakes) {
  // Lengths around every edge: nothing, within the first chunk, at a chunk's
  // end, inside the post-roll after it, a short last frame, many chunks.
  const std::pair<int, int> lengths[] = {{0, 0},  {1, 0},  {7, 3},  {8, 0},  {8, 3},  {9, 0}, {9, 4},
                                         {10, 0}, {11, 0}, {16, 0}, {17, 1}, {29, 6}, {45, 0}};
  for (int instances : {2, 3}) {
    for (const auto& [frames, tail] : lengths) {
      SCOPED_TRACE(std::to_string(instances) + " instances, " + std::to_string(frames) + " frames + " +
                   std::to_string(tail));
      std::vector<Packet> joined;
      EchoFactory factory;
      PassThrough joiner;
      EncodeInChunks(Ramp(frames, tail), kFrame, factory, AudioFormat{1000, 1, 0}, Plan(instances), joiner,
                     Collect(joined), [] {});
      EXPECT_EQ(joined, OneInstance(frames, tail));
    }
  }
}

TEST(EvcChunkedEncoding, AnInstancesFailureEndsTheRunWithIt) {
  for (int failing : {0, 1}) {
    EchoFactory factory(failing, 12);  // in its second chunk
    PassThrough joiner;
    std::vector<Packet> packets;
    try {
      EncodeInChunks(Ramp(60, 0), kFrame, factory, AudioFormat{1000, 1, 0}, Plan(2), joiner, Collect(packets), [] {});
      ADD_FAILURE() << "no failure from instance " << failing;
    } catch (const StageError& e) {
      EXPECT_STREQ(e.what(), "the echo encoder failed");
    }
  }
}

TEST(EvcChunkedEncoding, AFailureWhileWritingStopsEveryThread) {
  EchoFactory factory;
  PassThrough joiner;
  std::vector<Packet> packets;
  int written = 0;
  EXPECT_THROW(EncodeInChunks(Ramp(200, 0), kFrame, factory, AudioFormat{1000, 1, 0}, Plan(3), joiner, Collect(packets),
                              [&] {
                                if (++written == 20) throw std::runtime_error("disk full");
                              }),
               std::runtime_error);
  EXPECT_EQ(written, 20);
}

}  // namespace
}  // namespace sonvarro::evc
