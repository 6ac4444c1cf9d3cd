#include <gtest/gtest.h>

#include "ChunkPlan.h"

namespace sonvarro::evc {
namespace {

constexpr int kRate = 44100;

StreamShape Stream(AVCodecID codec, int frameSize, int priming, int64_t bitRate, std::optional<double> seconds) {
  StreamShape shape;
  shape.codec = codec;
  shape.sampleRate = kRate;
  shape.channels = 2;
  shape.bitRate = bitRate;
  shape.frameSize = frameSize;
  shape.primingSamples = priming;
  if (seconds) shape.expectedSamples = static_cast<int64_t>(*seconds * kRate);
  return shape;
}

TEST(EvcChunkPlan, CutsLongStreamsOfJoinableCodecsIntoChunksOfSeconds) {
  const StreamShape tenMinutes = Stream(AV_CODEC_ID_AAC, 1024, 1024, 128000, 600);
  const ChunkPlan plan = PlanChunks(tenMinutes, std::nullopt, 2);
  ASSERT_EQ(plan.instances, 2);
  const double chunkSeconds = double(plan.chunkFrames) * 1024 / kRate;
  EXPECT_GE(chunkSeconds, 5);
  EXPECT_LE(chunkSeconds, 30);
  // The pre-roll covers the delay and a frame; the dropped frames stay a
  // small share of the work.
  EXPECT_GE(plan.prerollFrames * 1024, 1024 + 1024);
  EXPECT_GE(plan.postrollFrames, 1);
  EXPECT_LT(double(plan.prerollFrames + plan.postrollFrames) / plan.chunkFrames, 0.02);

  // MP3 runs on past its chunk as far as LAME holds frames back.
  const ChunkPlan mp3 = PlanChunks(Stream(AV_CODEC_ID_MP3, 1152, 1105, 128000, 600), std::nullopt, 2);
  ASSERT_EQ(mp3.instances, 2);
  EXPECT_GE(mp3.postrollFrames, 3);

  // A length the source does not state still gets chunks.
  EXPECT_EQ(PlanChunks(Stream(AV_CODEC_ID_AC3, 1536, 256, 192000, std::nullopt), std::nullopt, 2).instances, 2);
}

TEST(EvcChunkPlan, KeepsOneInstanceWhereChunksDoNotPay) {
  const std::optional<int> any;
  EXPECT_EQ(PlanChunks(Stream(AV_CODEC_ID_AAC, 1024, 1024, 128000, 600), any, 1).instances, 1);  // one core
  EXPECT_EQ(PlanChunks(Stream(AV_CODEC_ID_AAC, 1024, 1024, 128000, 600), 1, 8).instances, 1);    // asked for
  EXPECT_EQ(PlanChunks(Stream(AV_CODEC_ID_AAC, 1024, 1024, 128000, 12), any, 2).instances, 1);   // short
  EXPECT_EQ(PlanChunks(Stream(AV_CODEC_ID_VORBIS, 64, 0, 96000, 600), any, 2).instances, 1);
  EXPECT_EQ(PlanChunks(Stream(AV_CODEC_ID_PCM_S16LE, 0, 0, 0, 600), any, 2).instances, 1);
  EXPECT_EQ(PlanChunks(Stream(AV_CODEC_ID_AMR_NB, 160, 0, 12200, 600), any, 2).instances, 1);
  EXPECT_EQ(PlanChunks(Stream(AV_CODEC_ID_MP3, 1152, 1105, 320000, 600), any, 2).instances, 1);
}

TEST(EvcChunkPlan, ManyCoresStayWithinTheQueuedAudiosBudget) {
  const ChunkPlan plan = PlanChunks(Stream(AV_CODEC_ID_AAC, 1024, 1024, 128000, 3600), std::nullopt, 64);
  ASSERT_GT(plan.instances, 2);
  EXPECT_LT(plan.instances, 64);
  const double queuedBytes = double(plan.instances) * plan.chunkFrames * 1024 * 2 * sizeof(float);
  EXPECT_LE(queuedBytes, 17.0 * (1 << 20));
}

}  // namespace
}  // namespace sonvarro::evc
