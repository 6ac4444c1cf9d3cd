#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "StatusLine.h"
#include "TrimWindow.h"
#include "VolumeLimiter.h"

namespace sonvarro::evc {
namespace {

// Runs planar audio through the limiter in blocks of `block` and returns the
// whole output, flush included.
std::vector<std::vector<float>> Limit(VolumeLimiter& limiter, std::vector<std::vector<float>> input, int block) {
  const int channels = static_cast<int>(input.size());
  const int total = static_cast<int>(input[0].size());
  std::vector<std::vector<float>> output(channels);
  std::vector<std::vector<float>> work(channels, std::vector<float>(std::max(block, 4096)));
  std::vector<float*> planes(channels);
  for (int start = 0; start < total; start += block) {
    const int n = std::min(block, total - start);
    for (int c = 0; c < channels; ++c) {
      std::copy_n(input[c].begin() + start, n, work[c].begin());
      planes[c] = work[c].data();
    }
    const int out = limiter.Process(planes.data(), n);
    for (int c = 0; c < channels; ++c) output[c].insert(output[c].end(), work[c].begin(), work[c].begin() + out);
  }
  const int held = limiter.Flush(planes.data());
  for (int c = 0; c < channels; ++c) output[c].insert(output[c].end(), work[c].begin(), work[c].begin() + held);
  return output;
}

std::vector<std::vector<float>> Tone(int channels, int samples, float amplitude, int rate = 48000) {
  std::vector<std::vector<float>> planes(channels, std::vector<float>(samples));
  for (int c = 0; c < channels; ++c)
    for (int i = 0; i < samples; ++i) planes[c][i] = amplitude * std::sin(2 * M_PI * 440.0 * i / rate);
  return planes;
}

TEST(EvcVolumeLimiter, KeepsEverySampleAndItsOrder) {
  for (int block : {1, 100, 1024}) {
    VolumeLimiter limiter(2, 48000, 2.0);
    const auto input = Tone(2, 10000, 0.25f);
    const auto output = Limit(limiter, input, block);
    ASSERT_EQ(output[0].size(), input[0].size()) << block;
    for (size_t i = 0; i < input[0].size(); ++i) ASSERT_EQ(output[1][i], input[1][i] * 2.0f) << block << " @" << i;
  }
}

TEST(EvcVolumeLimiter, HoldsLoudPassagesUnderFullScaleSmoothly) {
  VolumeLimiter limiter(2, 48000, 5.0);
  auto input = Tone(2, 48000, 0.1f);
  for (int i = 24000; i < 48000; ++i) input[0][i] *= 8;  // a loud half: 0.8 x 5 = 4 times full scale
  const auto output = Limit(limiter, input, 512);
  ASSERT_EQ(output[0].size(), 48000u);
  float peak = 0;
  for (const auto& plane : output)
    for (float v : plane) peak = std::max(peak, std::fabs(v));
  EXPECT_LE(peak, VolumeLimiter::kCeiling + 1e-6f);  // a float rounding at most
  EXPECT_GT(peak, 0.9f);                             // limited, not silenced
  // The quiet half passes at the plain gain up to the look-ahead before the loud one.
  EXPECT_FLOAT_EQ(output[1][20000], input[1][20000] * 5.0f);
  // No jump in the gain: neighbouring samples of the steady loud part stay close.
  for (int i = 30000; i < 47999; ++i) ASSERT_LT(std::fabs(output[0][i + 1] - output[0][i]), 0.1f) << i;
}

TEST(EvcVolumeLimiter, ZeroGainIsSilenceAndShortInputsSurvive) {
  VolumeLimiter silent(1, 8000, 0.0);
  const auto silence = Limit(silent, Tone(1, 3000, 0.9f, 8000), 160);
  ASSERT_EQ(silence[0].size(), 3000u);
  for (float v : silence[0]) ASSERT_EQ(v, 0.0f);
  VolumeLimiter shortInput(1, 48000, 4.0);  // fewer samples than the look-ahead
  const auto out = Limit(shortInput, Tone(1, 50, 0.5f), 50);
  ASSERT_EQ(out[0].size(), 50u);
  for (float v : out[0]) EXPECT_LE(std::fabs(v), VolumeLimiter::kCeiling + 1e-6f);
}

TEST(EvcTrimWindow, KeepsTheAskedPartAcrossBlocks) {
  TrimWindow window(1000, 500);
  auto span = window.Place(0, 800);  // before the start
  EXPECT_EQ(span.take, 0);
  span = window.Place(std::nullopt, 800);  // 800..1600: keeps 1000..1500
  EXPECT_EQ(span.skip, 200);
  EXPECT_EQ(span.take, 500);
  EXPECT_TRUE(window.Done());
}

TEST(EvcTrimWindow, TrustsOnlyTheFirstTimestamp) {
  TrimWindow window(0, std::nullopt);
  EXPECT_EQ(window.Place(0, 100).take, 100);
  const auto span = window.Place(int64_t{1} << 40, 100);  // a damaged stamp later on
  EXPECT_EQ(span.skip, 0);
  EXPECT_EQ(span.take, 100);
  EXPECT_FALSE(window.Done());
  TrimWindow nothing(0, 0);
  EXPECT_EQ(nothing.Place(0, 100).take, 0);
}

TEST(EvcStatusLine, HasTheFormTheProgramReads) {
  EXPECT_EQ(StatusLine(1440 * 1024, 95.21), "size=    1440kB time=95.21 bitrate= 123.9kbits/s");
  EXPECT_EQ(StatusLine(0, 0), "size=       0kB time=0.00 bitrate=   0.0kbits/s");
  // Plain seconds however long: never hh:mm:ss.
  const std::string late = StatusLine(1024, 7322.5);
  EXPECT_NE(late.find(" time=7322.50 "), std::string::npos) << late;
  EXPECT_EQ(late.find(':'), std::string::npos) << late;
}

}  // namespace
}  // namespace sonvarro::evc
