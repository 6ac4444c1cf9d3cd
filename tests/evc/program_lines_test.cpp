// The program's output type table against the encoder's own tables: every
// line the program can build for a type and a preset is one the encoder's
// option parser takes, with a codec its container can hold.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "CommandLineRig.h"
#include "Options.h"
#include "OutputContainer.h"
#include "engine/CommandLineBuilder.h"
#include "engine/OptionLists.h"
#include "engine/OutputTables.h"

namespace sonvarro {
namespace {

class ProgramLinesTest : public testing::Test, protected test::CommandLineRig {
 protected:
  void SetUp() override { grid.AddFile(kSource, "00:05:00", "00:00:10", "00:03:15"); }

  void Choose(int outputType, int preset) {
    options.outputFiletype.SetItemIndex(outputType);
    options.profile.SetItemIndex(preset);
    ApplyProfile(options.controls, {});
  }

  // The encoder's reading of the line built now; the encoder gets the
  // arguments without its own path.
  evc::ParsedOptions EncoderReading() {
    const EncoderCommand command = builder.BuildCommandLine(kSource);
    return evc::ParseOptions(std::vector<std::string>(command.args.begin() + 1, command.args.end()));
  }

  // Fails when the encoder's container for the output cannot hold the codec.
  static void ExpectContainerHoldsCodec(const evc::EncoderOptions& options) {
    EXPECT_NO_THROW({
      const AVOutputFormat* container = evc::ChooseContainer(options.output, options.format);
      evc::ChooseAudioCodec(container, options.audioCodec, options.output);
    }) << options.output;
  }

  const std::string kSource = "/media/Video/clip.avi";
};

// The codec a row's fragment names ("-acodec aac -vn" names "aac").
std::string CodecWord(const OutputTypeRow& row) {
  const std::string fragment(row.codecFragment);
  const std::string option = "-acodec ";
  const size_t start = fragment.find(option);
  if (start == std::string::npos) return "";
  const size_t from = start + option.size();
  return fragment.substr(from, fragment.find(' ', from) - from);
}

TEST(ProgramCodecs, AreTheCodecsTheEncoderTakes) {
  std::set<std::string> program;
  for (const OutputTypeRow& row : OutputTypeTable) program.insert(CodecWord(row));
  const std::set<std::string> encoder(evc::kAudioCodecNames.begin(), evc::kAudioCodecNames.end());
  EXPECT_EQ(program, encoder);
}

TEST_F(ProgramLinesTest, EveryTypeAndPresetBuildsALineTheEncoderTakes) {
  for (int type = 0; type < kOutputTypeCount; ++type) {
    const OutputTypeRow& row = OutputTypeTable[static_cast<size_t>(type)];
    for (int preset = 0; preset < kPresetCount; ++preset) {
      SCOPED_TRACE(std::string(row.caption) + ", preset " + std::to_string(preset));
      Choose(type, preset);
      const evc::ParsedOptions reading = EncoderReading();
      ASSERT_TRUE(reading.ok) << reading.error;
      const evc::EncoderOptions& o = reading.options;
      EXPECT_EQ(o.input, kSource);
      EXPECT_EQ(o.audioCodec, CodecWord(row));
      EXPECT_EQ(o.format, row.formatFragment == kNoFormatFragment ? "" : std::string(row.formatFragment));
      EXPECT_EQ(o.output.substr(o.output.size() - row.extension.size()), row.extension);
      EXPECT_EQ(o.audioBitrateKbps.value_or(0), std::stoi(options.audioBitrate.Text()));
      ExpectContainerHoldsCodec(o);
    }
  }
}

// A custom profile may leave lists without a selection: the fall-back values
// must read as well.
TEST_F(ProgramLinesTest, FallBackValuesAreTakenToo) {
  for (int type = 0; type < kOutputTypeCount; ++type) {
    SCOPED_TRACE(OutputTypeTable[static_cast<size_t>(type)].caption);
    Choose(type, 0);
    for (test::FakeSelector* list :
         {&options.videoSize, &options.framerate, &options.videoBitrate, &options.aspectratio, &options.audioBitrate,
          &options.audioSample, &options.audioVolumeGain, &options.audioChannels})
      list->SetItemIndex(-1);
    const evc::ParsedOptions reading = EncoderReading();
    ASSERT_TRUE(reading.ok) << reading.error;
    ExpectContainerHoldsCodec(reading.options);
  }
}

}  // namespace
}  // namespace sonvarro
