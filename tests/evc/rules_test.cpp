#include <gtest/gtest.h>

#include <map>

#include "AudioEncoder.h"
#include "FormatResolver.h"
#include "NearestValue.h"
#include "Options.h"

namespace sonvarro::evc {
namespace {

TEST(EvcNearestValue, OrdersByDistanceAndPrefersTheLargerOnATie) {
  EXPECT_EQ(ByDistance(22050, {48000, 44100, 32000}), (std::vector<int>{32000, 44100, 48000}));
  EXPECT_EQ(ByDistance(30, {20, 40, 30}), (std::vector<int>{30, 40, 20}));
  EXPECT_EQ(ByDistance(30, {20, 40}).front(), 40);
}

TEST(EvcNearestValue, FindsTheEdgeOfAnUnstatedRange) {
  int asked = 0;
  auto within = [&](int low, int high) {
    return [&asked, low, high](int v) {
      ++asked;
      return v >= low && v <= high;
    };
  };
  EXPECT_EQ(NearestAccepted(224, 8, 640, 8, within(16, 90)), 90);
  EXPECT_EQ(NearestAccepted(16, 8, 640, 8, within(45, 500)), 45);
  EXPECT_EQ(NearestAccepted(128, 8, 640, 8, within(45, 500)), 128);
  asked = 0;
  EXPECT_EQ(NearestAccepted(64, 8, 640, 8, within(1000, 2000)), std::nullopt);
  EXPECT_LT(asked, 100);  // a coarse grid, not every value
}

// An encoder that lists rates 32000/44100/48000 and quietly rounds bitrates
// below 32 kbit/s up, like AC-3.
class FakeProbe : public IEncoderProbe {
 public:
  std::string CodecName() const override { return "fake"; }
  std::vector<int> StatedSampleRates() const override { return {48000, 44100, 32000}; }
  std::vector<int> StatedChannelCounts() const override { return {1, 2}; }
  bool TakesBitrate() const override { return true; }
  bool Opens(const AudioFormat& f) override { return f.bitRate <= 640000 && !refuseAll; }
  int64_t EffectiveBitrate(const AudioFormat& f) override { return std::max<int64_t>(f.bitRate, 32000); }
  bool refuseAll = false;
};

TEST(EvcNearestValue, ResolvesToStatedAndEffectiveValuesWithOneNote) {
  FakeProbe probe;
  ResolvedFormat r = ResolveFormat(probe, {22050, 1, 16000});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.format.sampleRate, 32000);
  EXPECT_EQ(r.format.channels, 1);
  EXPECT_EQ(r.format.bitRate, 32000);
  EXPECT_EQ(r.note, "note: fake cannot take 22050 Hz, 16 kbit/s; using the nearest it supports: 32000 Hz, 32 kbit/s");

  r = ResolveFormat(probe, {44100, 2, 128000});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.note, "");

  probe.refuseAll = true;
  EXPECT_FALSE(ResolveFormat(probe, {44100, 2, 128000}).ok);
}

// Every choice the program offers, against the real encoders: each resolves
// to a format the encoder opens, and AMR always to mono 8000 Hz.
TEST(EvcNearestValue, EveryOfferedCombinationOpensAnEncoder) {
  const int bitrates[] = {16, 32, 48, 64, 80, 128, 160, 192, 224};
  const int rates[] = {22050, 32000, 44100, 48000};
  for (const std::string& name : kAudioCodecNames) {
    const AVCodecID id = name == "amr_nb" ? AV_CODEC_ID_AMR_NB : avcodec_descriptor_get_by_name(name.c_str())->id;
    auto factory = EncoderFactory::ForCodec(id, false);
    ASSERT_TRUE(factory) << name;
    for (int kbps : bitrates)
      for (int channels : {1, 2})
        for (int rate : rates) {
          const AudioFormat wanted{rate, channels, int64_t{kbps} * 1000};
          const ResolvedFormat r = ResolveFormat(factory->Probe(), wanted);
          const std::string cell =
              name + " " + std::to_string(kbps) + "k " + std::to_string(channels) + "ch " + std::to_string(rate);
          ASSERT_TRUE(r.ok) << cell;
          EXPECT_TRUE(factory->Probe().Opens(r.format)) << cell;
          EXPECT_NE(factory->Open(r.format), nullptr) << cell;
          const bool changed =
              r.format.sampleRate != rate || r.format.channels != channels || (r.format.bitRate + 500) / 1000 != kbps;
          EXPECT_EQ(!r.note.empty(), changed && name != "pcm_s16le") << cell << ": " << r.note;
          if (name == "amr_nb") {
            EXPECT_EQ(r.format.sampleRate, 8000);
            EXPECT_EQ(r.format.channels, 1);
            EXPECT_EQ(r.format.bitRate, 12200) << cell;
          }
          if (name == "ac3") {
            EXPECT_NE(r.format.sampleRate, 22050);
          }
        }
  }
}

TEST(EvcNearestValue, AmrTakesTheNearestOfItsModes) {
  auto factory = EncoderFactory::ForCodec(AV_CODEC_ID_AMR_NB, false);
  const std::map<int, int64_t> expected = {{4000, 4750}, {6000, 5900},   {7000, 6700},
                                           {9000, 7950}, {11000, 10200}, {16000, 12200}};
  for (const auto& [asked, mode] : expected)
    EXPECT_EQ(ResolveFormat(factory->Probe(), {8000, 1, asked}).format.bitRate, mode) << asked;
}

}  // namespace
}  // namespace sonvarro::evc
