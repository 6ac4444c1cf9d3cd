#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CommandLineRig.h"
#include "FakeControls.h"
#include "LogMessages.h"
#include "RecordingDesktop.h"
#include "TempDir.h"
#include "engine/CommandLineBuilder.h"
#include "engine/LineLayouts.h"
#include "engine/OptionFragments.h"
#include "engine/OptionLists.h"
#include "engine/OutputTables.h"
#include "services/TextFormats.h"

namespace sonvarro {
namespace {

using test::FakeOptionControls;
using test::FakeSelector;
using test::FakeTextField;
using test::LogMessages;
using test::TempDir;

constexpr int kNormalQuality = 2;

class CommandLineTest : public testing::Test, protected test::CommandLineRig {
 protected:
  void SetUp() override { Choose(kOutputMp3); }

  void Choose(int outputType) {
    options.outputFiletype.SetItemIndex(outputType);
    options.profile.SetItemIndex(kNormalQuality);
    ApplyProfile(options.controls, {});
  }

  // The row of the worked example, under this test's folders.
  std::string AddClip() {
    const std::string path = "/media/Video/clip.avi";
    grid.AddFile(path, "00:05:00", "00:00:10", "00:03:15");
    return path;
  }

  std::string Quoted(const std::string& path) { return "\"" + path + "\""; }
};

TEST_F(CommandLineTest, WorkedExampleGivesTheExactLineAndArguments) {
  const std::string source = AddClip();
  const EncoderCommand command = builder.BuildCommandLine(source);

  const std::string encoder = app.Folder() + "evc.exe";
  const std::string output = out.Folder() + "clip.mp3";
  EXPECT_EQ(command.text, encoder + " -y -i " + Quoted(source) +
                              " -acodec mp3 -vn -ab 128 -vol 200 -ac 2 -ar 44100 -ss 00:00:10 -t 185 " +
                              Quoted(output));
  EXPECT_EQ(command.args, (std::vector<std::string>{encoder, "-y",  "-i",       source, "-acodec", "mp3", "-vn",
                                                    "-ab",   "128", "-vol",     "200",  "-ac",     "2",   "-ar",
                                                    "44100", "-ss", "00:00:10", "-t",   "185",     output}));
  EXPECT_EQ(proc.CurrentStartTime, "00:00:10");
  EXPECT_EQ(proc.CurrentCutSeconds, "185");

  const TConvertParameterStruct& p = lib.Params;
  EXPECT_EQ(p.EncoderPath, encoder);
  EXPECT_EQ(p.SourceFile, source);
  EXPECT_EQ(p.CodecOption, " -acodec mp3 -vn");
  EXPECT_EQ(p.VideoBitrateOption, " -b 128");
  EXPECT_EQ(p.VideoSizeOption, " -s 176x144");
  EXPECT_EQ(p.FrameRateOption, " -r 15");
  EXPECT_EQ(p.AspectOption, " -aspect 4:3");
  EXPECT_EQ(p.ExtraOption, "");
  EXPECT_EQ(p.AudioBitrateOption, " -ab 128");
  EXPECT_EQ(p.VolumeOption, " -vol 200");
  EXPECT_EQ(p.ChannelsOption, " -ac 2");
  EXPECT_EQ(p.SampleRateOption, " -ar 44100");
  EXPECT_EQ(p.FormatOption, "");
  EXPECT_EQ(p.TrimOption, " -ss 00:00:10 -t 185");
  EXPECT_EQ(p.OutputFolder, out.Folder());
  EXPECT_EQ(p.OutputBaseName, "clip");
  EXPECT_EQ(p.OutputExtension, ".mp3");
  EXPECT_EQ(LogMessages(app.Folder()), std::vector<std::string>{"Output directory " + out.Folder()});
}

TEST_F(CommandLineTest, NormalQualityOptionsPerOutputType) {
  const std::string source = AddClip();
  struct Case {
    int type;
    const char* options;
    const char* extension;
  };
  const Case cases[] = {
      {kOutputAmr, "-acodec amr_nb -s 176x144 -b 128 -ab 128 -vol 200 -ac 1 -ar 8000", ".amr"},
      {kOutputAac, "-acodec aac -vn -ab 128 -vol 200 -ac 1 -ar 22050", ".aac"},
      {kOutputMp3, "-acodec mp3 -vn -ab 128 -vol 200 -ac 2 -ar 44100", ".mp3"},
      {kOutputAc3, "-acodec ac3 -vn -ab 128 -vol 200 -ac 1 -ar 22050", ".ac3"},
      {kOutputM4a, "-acodec aac -vn -ab 128 -vol 200 -ac 2 -ar 44100", ".m4a"},
      {kOutputOgg, "-acodec vorbis -vn -ab 128 -vol 200 -ac 1 -ar 22050", ".ogg"},
      {kOutputWav, "-acodec pcm_s16le -vn -ab 128 -vol 200 -ac 2 -ar 44100", ".wav"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extension);
    Choose(c.type);
    const EncoderCommand command = builder.BuildCommandLine(source);
    const std::string output = out.Folder() + "clip" + c.extension;
    EXPECT_EQ(command.text, app.Folder() + "evc.exe -y -i " + Quoted(source) + " " + c.options +
                                " -ss 00:00:10 -t 185 " + Quoted(output));
    std::vector<std::string> expected{app.Folder() + "evc.exe", "-y", "-i", source};
    std::vector<std::string> tokens;
    SplitNonEmpty(std::string(c.options) + " -ss 00:00:10 -t 185", ' ', tokens);
    expected.insert(expected.end(), tokens.begin(), tokens.end());
    expected.push_back(output);
    EXPECT_EQ(command.args, expected);
    std::filesystem::remove(output);  // each type alone in the folder
  }
}

TEST_F(CommandLineTest, AmrIsAlwaysMonoAt8000Hz) {
  const std::string source = AddClip();
  Choose(kOutputAmr);
  options.audioChannels.SetText("1 channel, Mono");
  options.audioSample.SetText("22050");
  const std::string text = builder.BuildCommandLine(source).text;
  EXPECT_NE(text.find(" -ac 1 -ar 8000"), std::string::npos);
  EXPECT_EQ(text.find(" -ac "), text.rfind(" -ac "));
  EXPECT_EQ(text.find(" -ar "), text.rfind(" -ar "));
  EXPECT_EQ(text.find("22050"), std::string::npos);
}

TEST_F(CommandLineTest, SelectorsWithoutSelectionGiveTheirFallBacks) {
  for (FakeSelector* s :
       {&options.videoBitrate, &options.videoSize, &options.framerate, &options.aspectratio, &options.audioBitrate,
        &options.audioVolumeGain, &options.audioChannels, &options.audioSample})
    s->SetItemIndex(-1);
  const OptionControls& c = options.controls;
  EXPECT_EQ(MakeVideoBitrateOption(c), " -b 512");
  EXPECT_EQ(MakeVideoSizeOption(c), " -s 320x240");
  EXPECT_EQ(MakeFrameRateOption(c), " -r 25");
  EXPECT_EQ(MakeAspectOption(c), " -aspect 4:3");
  EXPECT_EQ(MakeAudioBitrateOption(c), " -ab 64");
  EXPECT_EQ(MakeVolumeOption(c), " ");
  EXPECT_EQ(MakeChannelsOption(c), " -ac 2");
  EXPECT_EQ(MakeSampleRateOption(c), " -ar 44100");

  // The lone blank of the volume shows in the text but gives no argument.
  const std::string source = AddClip();
  const EncoderCommand command = builder.BuildCommandLine(source);
  EXPECT_NE(command.text.find(" -acodec mp3 -vn -ab 64  -ac 2 -ar 44100 -ss"), std::string::npos) << command.text;
  for (const std::string& arg : command.args) EXPECT_FALSE(arg.empty() || arg == " ");
}

TEST_F(CommandLineTest, SelectedTextsGoIntoTheirFragments) {
  options.audioVolumeGain.SetText("0");
  options.audioChannels.SetText("1 channel, Mono");
  options.aspectratio.SetText("16:9");
  const OptionControls& c = options.controls;
  EXPECT_EQ(MakeVolumeOption(c), " -vol 0");
  EXPECT_EQ(MakeChannelsOption(c), " -ac 1");
  EXPECT_EQ(MakeAspectOption(c), " -aspect 16:9");
  EXPECT_EQ(MakeFormatOption(c), "");
  EXPECT_EQ(MakeCodecOption(c), " -acodec mp3 -vn");
}

TEST_F(CommandLineTest, PathsOfEveryKindStaySingleArguments) {
  TempDir spaced;
  const std::string appFolder = spaced.Folder() + "My App $HOME/";
  std::filesystem::create_directories(appFolder);
  lib.AppFolder = appFolder;
  const std::string source = "/in/a \"quoted\" $x \\ Ünïcode.avi";
  grid.AddFile(source, "00:01:00");
  outputFolder.text = out.Folder() + "Out: Ordner";
  const EncoderCommand command = builder.BuildCommandLine(source);
  ASSERT_GE(command.args.size(), 5u);
  EXPECT_EQ(command.args[0], appFolder + "evc.exe");
  EXPECT_EQ(command.args[3], source);
  EXPECT_EQ(command.args.back(), out.Folder() + "Out: Ordner/a \"quoted\" $x \\ Ünïcode.mp3");
  EXPECT_EQ(command.output, command.args.back());
  EXPECT_TRUE(std::filesystem::is_directory(out.Folder() + "Out: Ordner"));
}

TEST_F(CommandLineTest, OutputNamesAvoidEveryTakenBaseName) {
  grid.AddFile("/in/A/song.avi", "00:01:00");
  grid.AddFile("/in/B/song.mp4", "00:01:00");
  const EncoderCommand first = builder.BuildCommandLine("/in/A/song.avi");
  EXPECT_EQ(first.args.back(), out.Folder() + "song.mp3");
  out.WriteFile("song.mp3");  // what the encoder leaves
  EXPECT_EQ(builder.BuildCommandLine("/in/B/song.mp4").args.back(), out.Folder() + "song_1.mp3");

  TempDir other;
  other.WriteFile("song.wav");
  outputFolder.text = other.Folder();
  EXPECT_EQ(builder.BuildCommandLine("/in/A/song.avi").args.back(), other.Folder() + "song_1.mp3");
}

TEST_F(CommandLineTest, OutputFolderGetsItsSlashAndIsCreated) {
  const std::string source = AddClip();
  outputFolder.text = out.Folder() + "new/deeper";
  builder.BuildCommandLine(source);
  EXPECT_EQ(lib.Params.OutputFolder, out.Folder() + "new/deeper/");
  EXPECT_TRUE(std::filesystem::is_directory(out.Folder() + "new/deeper"));
  outputFolder.text = out.Folder() + "new/deeper/";
  EXPECT_EQ(builder.PrepareOutputFolder(), out.Folder() + "new/deeper/");
  EXPECT_EQ(LogMessages(app.Folder()), (std::vector<std::string>{"Output directory " + out.Folder() + "new/deeper/",
                                                                 "Output directory " + out.Folder() + "new/deeper/"}));
}

TEST_F(CommandLineTest, AnOutputFolderThatCannotBeCreatedIsOnlyLogged) {
  const std::string source = AddClip();
  const std::string blocker = out.WriteFile("file");
  outputFolder.text = blocker + "/sub";
  const EncoderCommand command = builder.BuildCommandLine(source);
  EXPECT_EQ(command.args.back(), blocker + "/sub/clip.mp3");
  EXPECT_EQ(LogMessages(app.Folder()), std::vector<std::string>{"Output directory error. ->" + blocker + "/sub/"});
}

// Names that differ in case only are two files here: each converts with its
// own row's range, as the timeline shows it.
TEST_F(CommandLineTest, EachRowIsFoundByItsOwnPathExactly) {
  grid.AddFile("/in/Clip.avi", "00:05:00", "00:01:00", "00:01:30");
  grid.AddFile("/in/clip.avi", "00:05:00", "00:00:10", "00:00:20");
  grid.AddFile("/in/é.avi", "00:05:00", "00:00:01", "00:00:02");

  EXPECT_NE(builder.BuildCommandLine("/in/Clip.avi").text.find("-ss 00:01:00 -t 30"), std::string::npos);
  EXPECT_NE(builder.BuildCommandLine("/in/clip.avi").text.find("-ss 00:00:10 -t 10"), std::string::npos);
  EXPECT_EQ(builder.GetItemStartTime("/in/Clip.avi"), "00:01:00");
  EXPECT_EQ(builder.GetTrimLength("/in/Clip.avi"), 30);
  EXPECT_EQ(builder.GetTrimLength("/in/clip.avi"), 10);
  customProfile.applied = 0;
  EXPECT_EQ(builder.GetItemStartTime("/IN/CLIP.AVI"), "");
  EXPECT_EQ(builder.GetItemStartTime("/in/É.avi"), "");
  EXPECT_EQ(customProfile.applied, 0);
}

TEST_F(CommandLineTest, WithoutAMatchingRowTheWholeFileIsConverted) {
  const EncoderCommand command = builder.BuildCommandLine("/in/unknown.avi");
  EXPECT_EQ(lib.Params.TrimOption, "");
  EXPECT_EQ(command.text.find("-ss"), std::string::npos);
  EXPECT_EQ(proc.CurrentCutSeconds, "0");
  EXPECT_EQ(customProfile.applied, 0);
}

TEST_F(CommandLineTest, TrimLengthReadsOnlyThreePartTimes) {
  struct Case {
    const char* start;
    const char* end;
    int32_t length;
  };
  const Case cases[] = {
      {"00:00:10", "00:03:15", 185}, {"01:00:00", "02:00:01", 3601}, {"00:00:20", "00:00:05", -15},
      {"00:10", "00:00:30", 30},     {"", "00:00:30", 30},           {"00:00:10", "1:2:3:4", -10},
      {"00:00:00", "ab:00:01", 0},   {"00:00:07", "00:00:07", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " .. " + c.end);
    grid.Clear();
    grid.AddFile("/in/x.avi", "00:10:00", c.start, c.end);
    EXPECT_EQ(builder.GetTrimLength("/in/x.avi"), c.length);
  }
  EXPECT_EQ(builder.GetTrimLength("/in/none.avi"), 0);

  // A length of zero or below goes into the line unchanged.
  grid.Clear();
  grid.AddFile("/in/x.avi", "00:10:00", "00:00:20", "00:00:05");
  EXPECT_NE(builder.BuildCommandLine("/in/x.avi").text.find(" -ss 00:00:20 -t -15 "), std::string::npos);
}

TEST_F(CommandLineTest, ATrimCellCanNeverAddAnArgument) {
  struct Case {
    const char* start;
    const char* end;
    bool trimmed;  // the range reaches the encoder
  };
  const Case cases[] = {
      {"00:00:10", "00:03:15", true},
      {"00:00:01 -i /x", "00:03:15", false},
      {"00:00:10", "00:03:15 -y /x", false},
      {"00:00:10\t-i", "00:03:15", false},
      {"-ss", "00:03:15", false},
      {"00:00:10 ", "00:03:15", false},
      {" 00:00:10", "00:03:15", false},
      {"00:00:10", "3:15", false},
      {"00:00:10\" -i \"/x", "00:03:15", false},
  };
  const std::string source = "/media/Video/clip.avi";
  const std::string encoder = app.Folder() + "evc.exe";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("[") + c.start + "] [" + c.end + "]");
    grid.Clear();
    grid.AddFile(source, "00:05:00", c.start, c.end);
    const EncoderCommand command = builder.BuildCommandLine(source);
    std::vector<std::string> expected{encoder, "-y",   "-i",  source, "-acodec", "mp3", "-vn",  "-ab",
                                      "128",   "-vol", "200", "-ac",  "2",       "-ar", "44100"};
    if (c.trimmed) expected.insert(expected.end(), {"-ss", "00:00:10", "-t", "185"});
    expected.push_back(out.Folder() + "clip.mp3");
    EXPECT_EQ(command.args, expected);
    EXPECT_EQ(command.text.find("/x"), std::string::npos) << command.text;
    EXPECT_EQ(proc.CurrentStartTime, c.trimmed ? "00:00:10" : "");
    std::filesystem::remove(command.output);  // each case alone in the folder
  }
}

TEST_F(CommandLineTest, TheLayoutKeepsEachTrimValueOneArgument) {
  TConvertParameterStruct params;
  params.EncoderPath = "evc.exe";
  params.SourceFile = "in.wav";
  params.CodecOption = " -acodec mp3 -vn";
  const EncoderCommand command = JoinCommandLine(params, TrimArguments{"00:00:01 -i /x", "5 -y"}, "out.mp3");
  EXPECT_EQ(command.args, (std::vector<std::string>{"evc.exe", "-y", "-i", "in.wav", "-acodec", "mp3", "-vn", "-ss",
                                                    "00:00:01 -i /x", "-t", "5 -y", "out.mp3"}));
  EXPECT_EQ(JoinCommandLine(params, std::nullopt, "out.mp3").args.size(), 8u);
}

TEST_F(CommandLineTest, CustomProfileAppliedByTheRowLookupIsSeenByTheFragments) {
  const std::string source = AddClip();
  customProfile.onApply = [&] { options.audioBitrate.SetText("32"); };
  EXPECT_NE(builder.BuildCommandLine(source).text.find(" -ab 32 "), std::string::npos);
}

}  // namespace
}  // namespace sonvarro
