#include <cmath>
#include <filesystem>

#include "EvcFixture.h"
#include "Ffmpeg.h"

namespace sonvarro::test {
namespace {

using EvcConversion = EvcSources;

// A source whose first second is silent and whose tone runs to its end at 3 s.
class EvcTrim : public ::testing::Test {
 protected:
  void SetUp() override {
    ToneSpec spec;
    spec.seconds = 3.0;
    spec.channels = 1;
    spec.silentLead = 1.0;
    std::string error;
    ASSERT_TRUE(WriteToneFile(source_, spec, &error)) << error;
  }
  MediaReport Convert(std::vector<std::string> trim) {
    std::vector<std::string> args = {"-y", "-i", source_, "-acodec", "pcm_s16le", "-vn", "-ac", "1", "-ar", "44100"};
    args.insert(args.end(), trim.begin(), trim.end());
    args.push_back(output_);
    const EvcRun run = RunEvc(args);
    EXPECT_EQ(run.exitCode, 0) << run.started << run.timedOut << run.err;
    return DecodeMedia(output_);
  }
  TempDir dir_;
  std::string source_ = dir_.Folder() + "lead.wav";
  std::string output_ = dir_.Folder() + "cut.wav";
};

TEST_F(EvcTrim, StartAndLengthSelectThePartWritten) {
  MediaReport cut = Convert({"-ss", "00:00:01", "-t", "1.5"});
  ASSERT_TRUE(cut.ok) << cut.error;
  EXPECT_EQ(cut.samples, 66150);         // exactly 1.5 s
  EXPECT_GT(cut.blockRms.front(), 0.1);  // the tone from the first block on

  cut = Convert({"-ss", "00:00:00", "-t", "1.5"});
  EXPECT_EQ(cut.samples, 66150);
  EXPECT_LT(cut.blockRms.front(), 1e-4);
  EXPECT_GT(cut.blockRms.back(), 0.1);

  cut = Convert({"-ss", "2"});  // plain seconds, to the end of the source
  EXPECT_EQ(cut.samples, 44100);

  cut = Convert({"-ss", "00:00:02", "-t", "30"});  // a length past the end
  EXPECT_EQ(cut.samples, 44100);
}

// An empty trim range, or a start at or past the end of the source, leaves
// nothing to convert: a refusal in one line and no file, never an empty
// output reported as done.
TEST_F(EvcConversion, NothingToConvertIsRefusedWithoutAFile) {
  struct Case {
    std::vector<std::string> trim;
    int status;
    const char* names;
  };
  const Case cases[] = {
      {{"-ss", "00:00:01", "-t", "0"}, 2, "-t"},
      {{"-ss", "00:00:03", "-t", "-1"}, 2, "-t"},
      {{"-ss", "00:00:05", "-t", "3"}, 3, "nothing to convert"},  // the source is 2.5 s long
      {{"-ss", "2.5"}, 3, "nothing to convert"},
      {{"-t", "0.00001"}, 3, "nothing to convert"},  // less than a sample
  };
  for (const char* extension : {".wav", ".amr", ".aac", ".mp3", ".ac3", ".m4a", ".ogg"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(extension) + " " + c.trim[0] + " " + c.trim[1]);
      const std::string output = out_.Folder() + "empty" + extension;
      std::vector<std::string> args = {"-y", "-i", MonoSource(), "-ab", "64", "-ac", "1", "-ar", "8000"};
      args.insert(args.end(), c.trim.begin(), c.trim.end());
      args.push_back(output);
      ExpectCleanFailure(RunEvc(args), c.status, c.names, output);
    }
  }
}

TEST_F(EvcConversion, VolumeIsAPercentage) {
  const MediaReport source = DecodeMedia(StereoSource());
  auto convert = [&](const char* volume) {
    const std::string output = out_.Folder() + "vol" + volume + ".wav";
    const EvcRun run = RunEvc({"-y", "-i", StereoSource(), "-acodec", "pcm_s16le", "-vol", volume, output});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return DecodeMedia(output);
  };
  const MediaReport unchanged = convert("100");
  EXPECT_EQ(unchanged.checksum, source.checksum);  // bit-exact
  EXPECT_EQ(unchanged.samples, source.samples);
  EXPECT_NEAR(convert("50").rms / source.rms, 0.5, 0.01);
  EXPECT_NEAR(convert("200").rms / source.rms, 2.0, 0.01);
  EXPECT_EQ(convert("0").peak, 0.0);

  // 500 % of a quarter-scale tone would pass full scale: limited, not
  // clipped or wrapped, and as long as the source to the last sample.
  const MediaReport loud = convert("500");
  EXPECT_EQ(loud.samples, source.samples);
  EXPECT_LE(loud.peak, 0.98);
  EXPECT_GT(loud.rms, 0.6);
  EXPECT_GT(loud.blockRms.back(), 0.6);
}

TEST_F(EvcConversion, NeverWritesVideoAndCarriesTheTags) {
  ToneSpec spec;
  spec.seconds = 1.0;
  spec.tags = {{"title", "Tïtle One"}, {"artist", "Artist"}, {"album", "Album"},
               {"date", "2001"},       {"genre", "Jazz"},    {"track", "7"}};
  const std::string source = out_.Folder() + "clip $1 'v'.mp4";
  std::string error;
  ASSERT_TRUE(WriteToneFile(source, spec, &error)) << error;
  ASSERT_TRUE(DecodeMedia(source).hasVideo);
  for (const char* extension : {".m4a", ".mp3", ".ogg", ".wav"}) {
    const std::string output = out_.Folder() + "out" + extension;
    const EvcRun run =
        RunEvc({"-y", "-i", source, "-s", "176x144", "-b", "128", "-ab", "128", "-ac", "2", "-ar", "44100", output});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    MediaReport report = DecodeMedia(output);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_FALSE(report.hasVideo) << extension;
    for (const auto& [key, value] : spec.tags) EXPECT_EQ(report.tags[key], value) << extension << " " << key;
  }
}

TEST_F(EvcConversion, ReadsTheLosslessAndOpenFormatsOfToday) {
  ToneSpec spec;
  const std::string tone = out_.Folder() + "tone.wav";
  std::string error;
  ASSERT_TRUE(WriteToneFile(tone, spec, &error)) << error;
  for (const char* name : {"song.flac", "voice.opus", "film.mkv", "clip.webm", "take.aiff"}) {
    const std::string source = out_.Folder() + name;
    ASSERT_TRUE(RunFfmpeg({"-i", tone, source}));
    const std::string output = out_.Folder() + name + ".mp3";
    const EvcRun run = RunEvc({"-y", "-i", source, "-ab", "128", "-ac", "2", "-ar", "44100", output});
    ASSERT_EQ(run.exitCode, 0) << name << ": " << run.err;
    const MediaReport report = DecodeMedia(output);
    ASSERT_TRUE(report.ok) << name << ": " << report.error;
    EXPECT_NEAR(report.durationSeconds, spec.seconds, 0.1) << name;
  }
}

TEST_F(EvcConversion, SaysInOneLineWhenANearestValueIsUsed) {
  struct Case {
    std::vector<std::string> options;
    const char* extension;
    int sampleRate;
    const char* mentions;
  };
  const Case cases[] = {
      {{"-acodec", "ac3", "-ab", "16", "-ac", "1", "-ar", "22050"}, ".ac3", 32000, "22050 Hz, 16 kbit/s; "},
      {{"-acodec", "vorbis", "-ab", "224", "-ac", "1", "-ar", "22050"}, ".ogg", 22050, "224 kbit/s; "},
      {{"-acodec", "mp3", "-ab", "224", "-ac", "1", "-ar", "22050"},
       ".mp3",
       22050,
       "using the nearest it supports: 160 kbit/s"},
      {{"-acodec", "amr_nb", "-ab", "128", "-ac", "2", "-ar", "44100"}, ".amr", 8000, "44100 Hz, stereo, 128 kbit/s"},
  };
  for (const Case& c : cases) {
    const std::string output = out_.Folder() + "near" + c.extension;
    std::vector<std::string> args = {"-y", "-i", StereoSource()};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(output);
    const EvcRun run = RunEvc(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    int notes = 0;
    for (const auto& line : Lines(run.out))
      if (line.rfind("note: ", 0) == 0) {
        ++notes;
        EXPECT_NE(line.find(c.mentions), std::string::npos) << line;
      }
    EXPECT_EQ(notes, 1) << run.out;
    EXPECT_EQ(DecodeMedia(output).sampleRate, c.sampleRate) << c.extension;
  }
  const EvcRun plain = RunEvc({"-y", "-i", StereoSource(), "-acodec", "mp3", "-ab", "128", out_.Folder() + "p.mp3"});
  EXPECT_EQ(plain.out.find("note:"), std::string::npos) << plain.out;
}

// The program splits each chunk at "=", takes the third piece and reads the
// text before its first "." as whole seconds.
TEST_F(EvcConversion, StatusLinesReadAsTheProgramReadsThem) {
  const EvcRun run = RunEvc({"-y", "-i", StereoSource(), "-acodec", "mp3", "-ab", "128", "-ss", "00:00:00", "-t", "2",
                             out_.Folder() + "s.mp3"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out.back(), '\n');
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("Input \"", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("Output \"", 0), 0u) << lines[1];
  // The last line holds the status updates, each but the last ended by "\r".
  std::string statuses = lines.back();
  std::vector<std::string> updates;
  for (size_t start = 0; start <= statuses.size();) {
    const size_t end = statuses.find('\r', start);
    updates.push_back(statuses.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  int lastSeconds = -1;
  for (const std::string& update : updates) {
    std::vector<std::string> pieces;
    for (size_t start = 0;;) {
      const size_t end = update.find('=', start);
      pieces.push_back(update.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
    ASSERT_EQ(pieces.size(), 4u) << update;
    EXPECT_EQ(pieces[0], "size");
    const std::string seconds = pieces[2].substr(0, pieces[2].find('.'));
    ASSERT_FALSE(seconds.empty()) << update;
    ASSERT_EQ(seconds.find_first_not_of("0123456789"), std::string::npos) << update;
    lastSeconds = std::stoi(seconds);
  }
  EXPECT_EQ(lastSeconds, 2);
}

}  // namespace
}  // namespace sonvarro::test
