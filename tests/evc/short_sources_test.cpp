#include <filesystem>
#include <fstream>

#include "EvcFixture.h"

namespace sonvarro::test {
namespace {

using EvcShortSources = EvcSources;

constexpr int kSourceRate = 48000;
constexpr int kSourceSamples = 10;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Ten samples at 48000 Hz, to be resampled for every output type: each output
// holds them as sound a decoder finds, or the run refuses cleanly where the
// source holds nothing to decode.
TEST_F(EvcShortSources, AFewSamplesAtAnotherRateGiveSoundOrACleanRefusal) {
  struct Source {
    const char* name;
    bool holdsSound;
  };
  // ffmpeg's MP4 muxer rounds the length of so short a track to nothing; a
  // WAV header without samples holds nothing either.
  const Source sources[] = {{"few.wav", true}, {"few.mp3", true},  {"few.aac", true},  {"few.ac3", true},
                            {"few.ogg", true}, {"few.flac", true}, {"few.m4a", false}, {"header only.wav", false}};
  const char* const outputs[] = {".wav", ".mp3", ".aac", ".ac3", ".m4a", ".ogg", ".amr"};

  ToneSpec tone;
  tone.seconds = double(kSourceSamples) / kSourceRate;
  tone.sampleRate = kSourceRate;
  tone.channels = 1;
  tone.frequency = 2000;  // a half wave over the ten samples
  tone.amplitude = 0.8;
  std::string error;
  for (const Source& source : sources) {
    const std::string input = out_.Folder() + source.name;
    if (std::string(source.name) == "header only.wav") {
      ASSERT_TRUE(WriteToneFile(input, tone, &error)) << error;
      const std::string wav = ReadAll(input);
      const size_t data = wav.find("data");
      ASSERT_NE(data, std::string::npos);
      out_.WriteFile(source.name, wav.substr(0, data + 8));
    } else {
      ASSERT_TRUE(WriteToneFile(input, tone, &error)) << error;
    }
    for (const char* extension : outputs) {
      SCOPED_TRACE(std::string(source.name) + " -> " + extension);
      const std::string output = out_.Folder() + "out" + extension;
      const std::string rate = std::string(extension) == ".amr" ? "8000" : "44100";
      const EvcRun run = RunEvc({"-y", "-i", input, "-ab", "128", "-ac", "1", "-ar", rate, output});
      ASSERT_TRUE(run.exited);
      if (!source.holdsSound) {
        ExpectCleanFailure(run, 3, input, output);
        continue;
      }
      ASSERT_EQ(run.exitCode, 0) << run.err;
      const MediaReport report = DecodeMedia(output);
      ASSERT_TRUE(report.ok) << report.error;
      EXPECT_GT(report.samples, 0);
      // AMR's speech model keeps little of a click this short, but not nothing.
      EXPECT_GT(report.peak, std::string(extension) == ".amr" ? 0.005 : 0.05);
      std::filesystem::remove(output);
    }
  }
}

}  // namespace
}  // namespace sonvarro::test
