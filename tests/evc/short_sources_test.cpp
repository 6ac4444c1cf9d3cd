#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "EvcFixture.h"
#include "Ffmpeg.h"

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
      // A raw AAC or AC-3 stream of a frame or two is too short for its
      // content alone to tell its kind: players go by its extension.
      const std::string kind = std::string(extension).substr(1);
      const MediaReport report = DecodeMedia(output, nullptr, kind == "aac" ? "aac" : kind == "ac3" ? "ac3" : nullptr);
      ASSERT_TRUE(report.ok) << report.error;
      EXPECT_GT(report.samples, 0);
      // AMR's speech model keeps little of a click this short, but not nothing.
      EXPECT_GT(report.peak, std::string(extension) == ".amr" ? 0.005 : 0.05);
      std::filesystem::remove(output);
    }
  }
}

// Sound effects of a fraction of a second come out as long as the codec's
// framing needs and no longer. Where the ffmpeg tool has the same encoder it
// is the peer: the same source through it must decode to as many samples.
// AMR-NB, which it lacks, is off by less than a frame; Vorbis, whose decoded
// length follows the encoder's block choices, by less than a long block.
TEST_F(EvcShortSources, ShortSoundsComeOutNoLongerThanTheFramingNeeds) {
  struct Type {
    const char* extension;
    const char* options;
    const char* peerEncoder;  // ffmpeg's encoder for the same codec, or null
    const char* peerQuality;  // its option for the bitrate (no effect on the length)
    int slack;                // without a peer: samples the length may be off by
  };
  const Type types[] = {
      {".amr", "-acodec amr_nb -s 176x144 -b 128 -ab 128 -vol 200 -ac 1 -ar 8000", nullptr, nullptr, 160},
      {".aac", "-acodec aac -vn -ab 128 -vol 200 -ac 1 -ar 22050", "aac", "-b:a 128k", 0},
      {".mp3", "-acodec mp3 -vn -ab 128 -vol 200 -ac 2 -ar 44100", "libmp3lame", "-b:a 128k", 0},
      {".ac3", "-acodec ac3 -vn -ab 128 -vol 200 -ac 1 -ar 22050", "ac3", "-b:a 128k", 0},
      {".m4a", "-acodec aac -vn -ab 128 -vol 200 -ac 2 -ar 44100", "aac", "-b:a 128k", 0},
      {".ogg", "-acodec vorbis -vn -ab 128 -vol 200 -ac 1 -ar 22050", nullptr, nullptr, 2048},
      {".wav", "-acodec pcm_s16le -vn -ab 128 -vol 200 -ac 2 -ar 44100", "pcm_s16le", "", 0},
  };
  std::string error;
  for (const double seconds : {0.05, 0.15, 0.3}) {
    ToneSpec tone;
    tone.seconds = seconds;
    const std::string input = out_.Folder() + "effect " + std::to_string(int(seconds * 1000)) + ".wav";
    ASSERT_TRUE(WriteToneFile(input, tone, &error)) << error;
    for (const Type& type : types) {
      SCOPED_TRACE(std::to_string(seconds) + " s to " + type.extension);
      const std::string output = out_.Folder() + "out" + type.extension;
      std::vector<std::string> args = {"-y", "-i", input};
      std::istringstream options(type.options);
      for (std::string word; options >> word;) args.push_back(word);
      args.push_back(output);
      const EvcRun run = RunEvc(args);
      ASSERT_EQ(run.exitCode, 0) << run.err;
      const MediaReport made = DecodeMedia(output);
      ASSERT_TRUE(made.ok) << made.error;
      const int64_t sourceSamples = std::llround(seconds * made.sampleRate);
      if (type.peerEncoder) {
        const std::string peer = out_.Folder() + "peer" + type.extension;
        std::vector<std::string> peerArgs = {"-i", input, "-c:a", type.peerEncoder};
        std::istringstream quality(type.peerQuality);
        for (std::string word; quality >> word;) peerArgs.push_back(word);
        peerArgs.insert(peerArgs.end(),
                        {"-ac", std::to_string(made.channels), "-ar", std::to_string(made.sampleRate), peer});
        ASSERT_TRUE(RunFfmpeg(peerArgs));
        const MediaReport reference = DecodeMedia(peer);
        ASSERT_TRUE(reference.ok) << reference.error;
        EXPECT_EQ(made.samples, reference.samples);
      } else {
        EXPECT_NEAR(made.samples, sourceSamples, type.slack);
      }
    }
  }
}

}  // namespace
}  // namespace sonvarro::test
