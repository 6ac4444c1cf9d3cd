#include "Options.h"

#include <gtest/gtest.h>

namespace sonvarro::evc {
namespace {

TEST(EvcOptions, ReadsTheAmrLineTheProgramWrites) {
  std::vector<std::string> args = {"-y",           "-i",     "/in/clip one.avi",
                                   "-acodec",      "amr_nb", "-s",
                                   "176x144",      "-b",     "128",
                                   "-ab",          "128",    "-vol",
                                   "200",          "-ac",    "1",
                                   "-ar",          "8000",   "-ss",
                                   "00:00:10",     "-t",     "185",
                                   "/out/clip.amr"};
  const ParsedOptions real = ParseOptions(args);
  ASSERT_TRUE(real.ok) << real.error;
  const EncoderOptions& o = real.options;
  EXPECT_TRUE(o.overwrite);
  EXPECT_EQ(o.input, "/in/clip one.avi");
  EXPECT_EQ(o.output, "/out/clip.amr");
  EXPECT_EQ(o.audioCodec, "amr_nb");
  EXPECT_EQ(o.audioBitrateKbps, 128);
  EXPECT_DOUBLE_EQ(o.volumePercent, 200);
  EXPECT_EQ(o.channels, 1);
  EXPECT_EQ(o.sampleRate, 8000);
  EXPECT_DOUBLE_EQ(o.startSeconds, 10);
  EXPECT_EQ(o.durationSeconds, 185.0);
}

TEST(EvcOptions, TakesOptionsInAnyOrderWithDefaultsForTheRest) {
  const ParsedOptions parsed = ParseOptions(
      {"-vn", "-ar", "44100", "-i", "a.wav", "-aspect", "16:9", "-r", "15", "-f", "mp3", "-acodec", "mp3", "b.mp3"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_FALSE(parsed.options.overwrite);
  EXPECT_EQ(parsed.options.format, "mp3");
  EXPECT_DOUBLE_EQ(parsed.options.volumePercent, 100);
  EXPECT_FALSE(parsed.options.channels.has_value());
  EXPECT_FALSE(parsed.options.durationSeconds.has_value());
  EXPECT_DOUBLE_EQ(parsed.options.startSeconds, 0);
}

TEST(EvcOptions, RefusesBadLinesWithOneClearLine) {
  struct Case {
    std::vector<std::string> args;
    const char* mentions;
  };
  const Case cases[] = {
      {{"-i", "a.wav", "-foo", "b.wav"}, "unknown option -foo"},
      {{"-i", "a.wav", "b.wav", "-ab"}, "-ab needs a value"},
      {{"-i", "a.wav", "-ab", "12x", "b.wav"}, "\"12x\" for -ab"},
      {{"-i", "a.wav", "-ab", "-5", "b.wav"}, "for -ab"},
      {{"-i", "a.wav", "-ac", "0", "b.wav"}, "for -ac"},
      {{"-i", "a.wav", "-ac", "two", "b.wav"}, "for -ac"},
      {{"-i", "a.wav", "-ar", "44.1k", "b.wav"}, "for -ar"},
      {{"-i", "a.wav", "-vol", "loud", "b.wav"}, "for -vol"},
      {{"-i", "a.wav", "-vol", "-10", "b.wav"}, "for -vol"},
      {{"-i", "a.wav", "-ss", "00:61:00", "b.wav"}, "for -ss"},
      {{"-i", "a.wav", "-ss", "1:2:3:4", "b.wav"}, "for -ss"},
      {{"-i", "a.wav", "-t", "ten", "b.wav"}, "for -t"},
      // An empty trim range leaves nothing to convert.
      {{"-i", "a.wav", "-t", "0", "b.wav"}, "\"0\" for -t: expected a length of more than 0 seconds"},
      {{"-i", "a.wav", "-t", "00:00:00", "b.wav"}, "nothing to convert"},
      {{"-i", "a.wav", "-t", "-5", "b.wav"}, "\"-5\" for -t"},
      {{"-i", "a.wav", "-s", "176*144", "b.wav"}, "for -s"},
      {{"-i", "a.wav", "-acodec", "flac", "b.wav"},
       "for -acodec: expected one of amr_nb, aac, mp3, ac3, vorbis, pcm_s16le"},
      {{"b.wav"}, "no input"},
      {{"-i", "a.wav"}, "no output"},
      {{"-i", "a.wav", "b.wav", "c.wav"}, "unexpected argument"},
  };
  for (const Case& c : cases) {
    const ParsedOptions parsed = ParseOptions(c.args);
    EXPECT_FALSE(parsed.ok) << c.mentions;
    EXPECT_NE(parsed.error.find(c.mentions), std::string::npos) << parsed.error;
    EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
  }
}

TEST(EvcOptions, ReadsClockTimesAndPlainSeconds) {
  EXPECT_EQ(ParseTimeText("00:00:10"), 10.0);
  EXPECT_EQ(ParseTimeText("01:02:03"), 3723.0);
  EXPECT_EQ(ParseTimeText("100:00:00"), 360000.0);
  EXPECT_EQ(ParseTimeText("02:30"), 150.0);
  EXPECT_EQ(ParseTimeText("12.5"), 12.5);
  EXPECT_EQ(ParseTimeText("00:00:01.25"), 1.25);
  EXPECT_FALSE(ParseTimeText(""));
  EXPECT_FALSE(ParseTimeText("1e3"));
  EXPECT_FALSE(ParseTimeText("00:00:60"));
  EXPECT_FALSE(ParseTimeText("-1"));
  EXPECT_FALSE(ParseTimeText(std::string(400, '9')));  // no overflow further on
}

}  // namespace
}  // namespace sonvarro::evc
