#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "EvcProcess.h"
#include "TempDir.h"
#include "TestMedia.h"

namespace sonvarro::test {

// Generated sources shared by a suite: 2.5 s tones at a quarter of full
// scale, mono and stereo, 44100 Hz.
class EvcSources : public ::testing::Test {
 protected:
  static constexpr double kSourceSeconds = 2.5;
  static constexpr double kAmplitude = 0.25;

  static void SetUpTestSuite() {
    folder_ = std::make_unique<TempDir>();
    ToneSpec spec;
    spec.seconds = kSourceSeconds;
    spec.amplitude = kAmplitude;
    spec.channels = 1;
    std::string error;
    ASSERT_TRUE(WriteToneFile(MonoSource(), spec, &error)) << error;
    spec.channels = 2;
    ASSERT_TRUE(WriteToneFile(StereoSource(), spec, &error)) << error;
  }
  static void TearDownTestSuite() { folder_.reset(); }

  static std::string MonoSource() { return folder_->Folder() + "tone mono.wav"; }
  static std::string StereoSource() { return folder_->Folder() + "tone stereo.wav"; }

  TempDir out_;

 private:
  static inline std::unique_ptr<TempDir> folder_;
};

// A failed run: its own non-zero status, exactly one line on standard error
// naming the file concerned, and no output file left behind.
inline void ExpectCleanFailure(const EvcRun& run, int status, const std::string& names, const std::string& output) {
  ASSERT_TRUE(run.exited) << "crashed or hung";
  EXPECT_EQ(run.exitCode, status) << run.err;
  const std::vector<std::string> lines = Lines(run.err);
  ASSERT_EQ(lines.size(), 1u) << run.err;
  EXPECT_NE(lines[0].find(names), std::string::npos) << lines[0];
  if (!output.empty()) {
    EXPECT_FALSE(std::filesystem::exists(output)) << output;
  }
}

}  // namespace sonvarro::test
