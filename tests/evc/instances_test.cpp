#include <cmath>
#include <filesystem>

#include "AudioCompare.h"
#include "EvcFixture.h"

namespace sonvarro::test {
namespace {

// A 20-second stereo source: a tone over a floor of noise, as in recorded
// sound, under sharp bursts of noise, which make the codecs switch blocks
// and spend their reservoirs, at uneven distances so that bursts fall near
// the points where chunks meet. (Without the floor FFmpeg's AAC encoder
// swings between 35 and 55 dB over seconds on the bare tone, and two runs
// in different phase of that swing differ by more than any join does.)
class EvcInstances : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = std::make_unique<TempDir>();
    ToneSpec tone;
    tone.seconds = 20;
    tone.amplitude = 0.3;
    tone.burstEvery = 0.37;
    tone.noise = 0.05;
    std::string error;
    ASSERT_TRUE(WriteToneFile(Source(), tone, &error)) << error;
  }
  static void TearDownTestSuite() { folder_.reset(); }
  static std::string Source() { return folder_->Folder() + "bursts.wav"; }

  // Converts the source with `options`, and the trailing arguments.
  EvcRun Convert(std::vector<std::string> options, const std::vector<std::string>& more, const std::string& output) {
    std::vector<std::string> args = {"-y", "-i", Source()};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), more.begin(), more.end());
    args.push_back(output);
    return RunEvc(args);
  }

  TempDir out_;

 private:
  static inline std::unique_ptr<TempDir> folder_;
};

// The chunk length evc says it uses, from its header line
// "Encoding in chunks of 5.00 s (220500 samples) on 2 encoders at once".
int64_t ChunkSamples(const std::string& out) {
  const size_t open = out.find("s (");
  if (out.find("Encoding in chunks of") == std::string::npos || open == std::string::npos) return 0;
  return std::atoll(out.c_str() + open + 3);
}

// The seconds of each status update, in order.
std::vector<double> StatusSeconds(const std::string& out) {
  std::vector<double> seconds;
  for (size_t at = out.find("time="); at != std::string::npos; at = out.find("time=", at + 1))
    seconds.push_back(std::atof(out.c_str() + at + 5));
  return seconds;
}

TEST_F(EvcInstances, ChunksFromSeveralEncodersMatchOneEncodersOutput) {
  struct Case {
    const char* name;
    const char* extension;
    std::vector<std::string> options;
  };
  const Case cases[] = {
      {"MP3", ".mp3", {"-acodec", "mp3", "-ab", "128", "-ac", "2", "-ar", "44100"}},
      {"MP3 at half rate, mono", ".mp3", {"-acodec", "mp3", "-ab", "48", "-ac", "1", "-ar", "22050"}},
      {"AAC", ".aac", {"-acodec", "aac", "-ab", "128", "-ac", "2", "-ar", "44100"}},
      {"M4A, trimmed and limited",
       ".m4a",
       {"-acodec", "aac", "-ab", "96", "-vol", "400", "-ac", "2", "-ar", "48000", "-ss", "00:00:01", "-t", "18"}},
      {"AC-3", ".ac3", {"-acodec", "ac3", "-ab", "192", "-ac", "2", "-ar", "44100"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // What the encoders are given: the same options into PCM.
    std::vector<std::string> pcm = c.options;
    pcm[1] = "pcm_s16le";
    const std::string reference = out_.Folder() + "reference.wav";
    const std::string single = out_.Folder() + "single" + c.extension;
    const std::string parallel = out_.Folder() + "parallel" + c.extension;
    ASSERT_EQ(Convert(pcm, {}, reference).exitCode, 0);
    ASSERT_EQ(Convert(c.options, {"-evc_instances", "1"}, single).exitCode, 0);
    const EvcRun run = Convert(c.options, {"-evc_instances", "2"}, parallel);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const int64_t chunk = ChunkSamples(run.out);
    ASSERT_GT(chunk, 0) << "not encoded in chunks:\n" << run.out;

    Audio source, one, many;
    std::string error;
    ASSERT_TRUE(LoadAudio(reference, &source, &error)) << error;
    ASSERT_TRUE(LoadAudio(single, &one, &error)) << error;
    ASSERT_TRUE(LoadAudio(parallel, &many, &error)) << error;
    const Fidelity alone = MeasureFidelity(source, one);
    const Fidelity joined = MeasureFidelity(source, many);
    ASSERT_TRUE(alone.ok && joined.ok) << alone.error << joined.error;

    // One stream as long as the single encoder's, starting where it starts:
    // nothing lost or doubled at a join.
    EXPECT_EQ(many.Frames(), one.Frames());
    EXPECT_EQ(joined.lag, alone.lag);
    // As good on the whole, and no click or gap where chunks meet.
    EXPECT_GE(joined.meanSnr, alone.meanSnr - 0.3);
    std::vector<int64_t> joins;
    for (int64_t at = chunk; at < source.Frames(); at += chunk) joins.push_back(at);
    ASSERT_GE(joins.size(), 2u);
    const int64_t reach = source.sampleRate / 10;
    EXPECT_GE(WorstSnrNear(joined, joins, reach, source.sampleRate), alone.worstSnr - 3.0);

    // The status time is the end of what has been written, in order.
    const std::vector<double> seconds = StatusSeconds(run.out);
    ASSERT_FALSE(seconds.empty());
    EXPECT_TRUE(std::is_sorted(seconds.begin(), seconds.end()));
    EXPECT_NEAR(seconds.back(), double(source.Frames()) / source.sampleRate, 0.05);
  }
}

TEST_F(EvcInstances, ShortSourcesAndOtherCodecsKeepOneEncoder) {
  for (const char* extension : {".ogg", ".wav", ".amr"}) {
    const EvcRun run =
        Convert({"-ab", "64", "-ac", "1", "-ar", "8000"}, {"-evc_instances", "2"}, out_.Folder() + "one" + extension);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ChunkSamples(run.out), 0) << extension << "\n" << run.out;
  }
  const EvcRun shortRun = Convert({"-acodec", "aac", "-t", "12"}, {"-evc_instances", "2"}, out_.Folder() + "short.m4a");
  ASSERT_EQ(shortRun.exitCode, 0) << shortRun.err;
  EXPECT_EQ(ChunkSamples(shortRun.out), 0) << shortRun.out;
}

// A disk that fills up in the middle of the stream: the output is a link to
// /dev/full, which takes the (empty) ADTS header and fails the first
// buffer of packets. Several instances end as one does.
TEST_F(EvcInstances, AWriteFailureMidStreamEndsAsOnOneInstance) {
  for (const char* instances : {"1", "2"}) {
    SCOPED_TRACE(instances);
    const std::string output = out_.Folder() + "full.aac";
    std::filesystem::create_symlink("/dev/full", output);
    const EvcRun run = Convert({"-acodec", "aac"}, {"-evc_instances", instances}, output);
    EXPECT_EQ(ChunkSamples(run.out) > 0, std::string(instances) != "1") << run.out;
    ExpectCleanFailure(run, 4, output, "");
    EXPECT_NE(run.err.find("the disk is full"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::is_symlink(output)) << "the partial output stays";
    std::filesystem::remove(output);
  }
}

TEST_F(EvcInstances, AStopRemovesThePartialOutput) {
  ToneSpec tone;
  tone.seconds = 300;
  tone.channels = 1;
  const std::string source = out_.Folder() + "long.wav";
  std::string error;
  ASSERT_TRUE(WriteToneFile(source, tone, &error)) << error;
  for (const char* instances : {"1", "2"}) {
    SCOPED_TRACE(instances);
    const std::string output = out_.Folder() + "stopped.m4a";
    const EvcRun run =
        RunEvc({"-y", "-i", source, "-acodec", "aac", "-evc_instances", instances, output}, 120, "size=");
    ASSERT_TRUE(run.stopSent) << run.out;
    ExpectCleanFailure(run, 5, output, output);
  }
}

}  // namespace
}  // namespace sonvarro::test
