#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

#include "EvcFixture.h"

extern "C" {
#include <libavutil/error.h>
}

namespace sonvarro::test {
namespace {

using EvcFailures = EvcSources;

// FFmpeg's texts for its error codes describe its insides, not the file.
void ExpectNoLibraryWords(const std::string& line) {
  const int codes[] = {AVERROR_INVALIDDATA,
                       AVERROR_PATCHWELCOME,
                       AVERROR_EOF,
                       AVERROR_BUG,
                       AVERROR_DEMUXER_NOT_FOUND,
                       AVERROR_DECODER_NOT_FOUND,
                       AVERROR_STREAM_NOT_FOUND,
                       AVERROR_UNKNOWN,
                       AVERROR(ENOSYS),
                       AVERROR(EINVAL),
                       AVERROR(EIO),
                       AVERROR(ENOENT)};
  for (int code : codes) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    EXPECT_EQ(line.find(text), std::string::npos) << line;
  }
  EXPECT_EQ(line.find("(none)"), std::string::npos) << line;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(EvcFailures, EachKindGivesItsStatusAndOneLineInPlainWords) {
  const std::string out = out_.Folder() + "out.mp3";
  const std::string noAudio = out_.Folder() + "video only.mp4";
  std::string error;
  ASSERT_TRUE(WriteVideoOnlyFile(noAudio, 1.0, &error)) << error;
  const std::string missing = out_.Folder() + "missing.wav";
  const std::string text = out_.WriteFile("notes.avi", "This is not a video, just some text.\n");
  const std::string cutOgg = out_.Folder() + "cut.ogg";
  ASSERT_TRUE(WriteToneFile(cutOgg, ToneSpec{}, &error)) << error;
  std::filesystem::resize_file(cutOgg, 200);
  const std::string inMissingFolder = out_.Folder() + "no such folder/out.mp3";
  const std::string underFile = MonoSource() + "/out.mp3";

  struct Case {
    std::vector<std::string> args;
    int status;
    std::string names;  // the file or option the line is about
    std::string says;
    std::string output;  // must not exist afterwards; empty: not checked
  };
  const Case cases[] = {
      {{missing, out}, 3, missing, "does not exist", out},
      {{out_.Folder(), out}, 3, out_.Folder(), "is a folder", out},
      {{noAudio, out}, 3, noAudio, "has no audio track", out},
      {{text, out}, 3, text, "is not a media file this program can read", out},
      {{cutOgg, out}, 3, cutOgg, "ends early", out},
      {{MonoSource(), "-ab", "x", out}, 2, "-ab", "", out},
      {{MonoSource(), "-bogus", out}, 2, "-bogus", "", out},
      {{MonoSource()}, 2, "output", "", ""},
      {{MonoSource(), out_.Folder() + "a.xyz"}, 4, "a.xyz", "", out_.Folder() + "a.xyz"},
      {{MonoSource(), "-acodec", "mp3", out_.Folder() + "a.amr"},
       4,
       "a.amr",
       "cannot hold mp3",
       out_.Folder() + "a.amr"},
      // Not writable: a missing folder, a file standing where a folder
      // should be, a file system that takes no new files.
      {{MonoSource(), inMissingFolder}, 4, inMissingFolder, "its folder does not exist", inMissingFolder},
      {{MonoSource(), underFile}, 4, underFile, "a file stands where its folder should be", ""},
      {{MonoSource(), "/proc/evc-test.mp3"}, 4, "/proc/evc-test.mp3", "takes no new files", ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"-y", "-i"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const EvcRun run = RunEvc(args);
    SCOPED_TRACE(c.names);
    ExpectCleanFailure(run, c.status, c.names, c.output);
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    ExpectNoLibraryWords(run.err);
  }
}

TEST_F(EvcFailures, AnExistingOutputIsOverwrittenOnlyWithY) {
  const std::string out = out_.WriteFile("taken.wav", "keep me");
  const EvcRun refused = RunEvc({"-i", MonoSource(), out});
  ASSERT_TRUE(refused.exited);
  EXPECT_EQ(refused.exitCode, 4);
  EXPECT_NE(refused.err.find(out), std::string::npos) << refused.err;
  EXPECT_EQ(ReadAll(out), "keep me");

  const EvcRun overwritten = RunEvc({"-y", "-i", MonoSource(), out});
  EXPECT_EQ(overwritten.exitCode, 0) << overwritten.err;
  EXPECT_TRUE(DecodeMedia(out).ok);

  const EvcRun self = RunEvc({"-y", "-i", MonoSource(), MonoSource()});
  EXPECT_NE(self.exitCode, 0);
  EXPECT_TRUE(DecodeMedia(MonoSource()).ok);  // the source survives
}

// Whatever a user feeds it: no crash, no hang, and either a clean failure or
// a decodable output.
TEST_F(EvcFailures, DamagedInputsNeverCrashOrHang) {
  ToneSpec spec;
  spec.seconds = 2.0;
  const std::string mp4 = out_.Folder() + "whole.mp4";
  const std::string mp3 = out_.Folder() + "whole.mp3";
  std::string error;
  ASSERT_TRUE(WriteToneFile(mp4, spec, &error)) << error;
  ASSERT_TRUE(WriteToneFile(mp3, spec, &error)) << error;
  const std::string wav = ReadAll(MonoSource());
  const std::string mp4Bytes = ReadAll(mp4);
  const std::string mp3Bytes = ReadAll(mp3);

  std::mt19937 random(12345);
  std::string noise(100000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::string scrambledMp3 = mp3Bytes;  // frames damaged, header intact
  for (size_t i = 2000; i < scrambledMp3.size(); i += 7) scrambledMp3[i] = static_cast<char>(random());
  std::string scrambledMp4 = mp4Bytes;
  for (size_t i = 100; i < scrambledMp4.size() * 3 / 4; i += 5) scrambledMp4[i] = static_cast<char>(random());

  const std::vector<std::pair<std::string, std::string>> inputs = {
      {"empty.wav", ""},
      {"truncated header.wav", wav.substr(0, 30)},
      {"truncated.wav", wav.substr(0, wav.size() / 3)},
      {"truncated.mp4", mp4Bytes.substr(0, mp4Bytes.size() / 2)},
      {"truncated.mp3", mp3Bytes.substr(0, mp3Bytes.size() / 2)},
      {"random.mp3", noise},
      {"random.avi", noise},
      {"scrambled.mp3", scrambledMp3},
      {"scrambled.mp4", scrambledMp4},
      {"text.avi", "This is not a video, just some text.\n"},
      {"playlist.mp3", "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\nsegment.ts\n"},
  };
  for (const auto& [name, bytes] : inputs) {
    const std::string input = out_.WriteFile(name, bytes);
    for (const char* extension : {".mp3", ".wav"}) {
      const std::string output = out_.Folder() + "out" + extension;
      const EvcRun run = RunEvc({"-y", "-i", input, "-ab", "128", "-ac", "2", "-ar", "44100", output}, 60);
      ASSERT_TRUE(run.exited) << name << (run.timedOut ? ": hung" : ": crashed") << "\n" << run.err;
      if (run.exitCode == 0) {
        EXPECT_TRUE(DecodeMedia(output).ok) << name;
      } else {
        EXPECT_EQ(Lines(run.err).size(), 1u) << name << ": " << run.err;
        ExpectNoLibraryWords(run.err);
        EXPECT_NE(run.err.find(input), std::string::npos) << name << ": " << run.err;
        EXPECT_FALSE(std::filesystem::exists(output)) << name;
      }
      std::filesystem::remove(output);
    }
  }
}

// A pipe as input waited in open() for a writer that never came, deaf to a
// stop; a device may never end. Both are refused at once as input, and a
// pipe as output.
TEST_F(EvcFailures, PipesAndDevicesAreRefusedAtOnce) {
  const std::string pipe = out_.Folder() + "pipe.amr";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const std::string out = out_.Folder() + "out.mp3";
  struct Case {
    std::string input;
    std::string output;
    int status;
    std::string names;
  };
  const Case cases[] = {
      {pipe, out, 3, pipe},
      {"/dev/zero", out, 3, "/dev/zero"},
      {MonoSource(), pipe, 4, pipe},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.names);
    const auto started = std::chrono::steady_clock::now();
    const EvcRun run = RunEvc({"-y", "-i", c.input, c.output}, 20);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    ExpectCleanFailure(run, c.status, c.names, c.output == pipe ? "" : c.output);
    EXPECT_NE(run.err.find("not a file"), std::string::npos) << run.err;
  }
  struct stat info {};
  ASSERT_EQ(stat(pipe.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));  // the pipe is left as it was
}

// A stop once the output exists and one while encoding, with one encoder and
// with several: the run ends within moments, says so in one line and leaves
// no partial output.
TEST_F(EvcFailures, AStopEndsTheRunPromptlyAtEveryStage) {
  ToneSpec spec;
  spec.seconds = 600;
  spec.channels = 1;
  const std::string longSource = out_.Folder() + "long.wav";
  std::string error;
  ASSERT_TRUE(WriteToneFile(longSource, spec, &error)) << error;
  struct Case {
    const char* stopOn;
    std::vector<std::string> options;
  };
  const Case cases[] = {
      {"Input", {"-acodec", "vorbis"}},
      {"size=", {"-acodec", "vorbis"}},
      {"size=", {"-acodec", "mp3", "-evc_instances", "2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.stopOn) + " " + c.options[1]);
    const std::string output = out_.Folder() + (c.options[1] == "mp3" ? "out.mp3" : "out.ogg");
    std::vector<std::string> args = {"-y", "-i", longSource};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(output);
    const auto started = std::chrono::steady_clock::now();
    const EvcRun run = RunEvc(args, 60, c.stopOn);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    ASSERT_TRUE(run.stopSent) << run.out;
    ExpectCleanFailure(run, 5, output, output);
  }
}

}  // namespace
}  // namespace sonvarro::test
