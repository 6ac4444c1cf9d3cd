#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeControls.h"
#include "engine/OptionLists.h"
#include "engine/OutputTables.h"
#include "services/TextFormats.h"

namespace sonvarro {
namespace {

using test::FakeOptionControls;
using test::FakeSelector;
using Items = std::vector<std::string>;

TEST(OutputTables, EveryOutputTypeHasItsExtensionAndCodec) {
  struct Row {
    int type;
    const char* extension;
    const char* codec;
  };
  const Row rows[] = {
      {kOutputAmr, ".amr", "-acodec amr_nb"},        {kOutputAac, ".aac", "-acodec aac -vn"},
      {kOutputMp3, ".mp3", "-acodec mp3 -vn"},       {kOutputAc3, ".ac3", "-acodec ac3 -vn"},
      {kOutputM4a, ".m4a", "-acodec aac -vn"},       {kOutputOgg, ".ogg", "-acodec vorbis -vn"},
      {kOutputWav, ".wav", "-acodec pcm_s16le -vn"},
  };
  for (const Row& row : rows) {
    const auto at = static_cast<size_t>(row.type);
    const OutputTypeRow& type = OutputTypeTable[at];
    EXPECT_EQ(type.extension, row.extension);
    EXPECT_EQ(type.codecFragment, row.codec);
    EXPECT_EQ(type.formatFragment, "none");
    // The caption names the extension, except for WAV's.
    if (row.type != kOutputWav) {
      EXPECT_NE(std::string(type.caption).find(std::string("*") + row.extension), std::string::npos) << type.caption;
    }
  }
}

TEST(OutputTables, EveryPresetIsSixIndexesWithinTheirLists) {
  const size_t listSizes[6] = {VideoSizes.size() - 1,    FrameRates.size() - 1,          VideoBitrates.size() - 1,
                               AudioBitrates.size() - 1, AudioChannelChoices.size() - 1, SampleRates.size() - 1};
  for (const OutputTypeRow& row : OutputTypeTable) {
    for (std::string_view preset : row.presets) {
      const Items pieces = SplitText(std::string(preset), '|');
      ASSERT_EQ(pieces.size(), 6u) << preset;
      for (size_t i = 0; i < 6; ++i) {
        if (pieces[i] == "none") continue;
        const int index = std::stoi(pieces[i]);
        EXPECT_GE(index, 0) << preset;
        EXPECT_LT(static_cast<size_t>(index), listSizes[i]) << preset;
      }
    }
  }
}

TEST(FillFromTable, AppendsTheItemsAndSelectsTheLastEntry) {
  FakeSelector volume;
  FillFromTable(volume, VolumeGains);
  ASSERT_EQ(volume.Count(), 21);
  for (int i = 0; i < 21; ++i) EXPECT_EQ(volume.Item(i), std::to_string(25 * i));
  EXPECT_EQ(volume.Text(), "200");

  // The selector is not cleared first: the new items follow the old ones and
  // the index counts from the first item.
  FakeSelector rates;
  rates.AddItem("old");
  FillFromTable(rates, FrameRates);
  EXPECT_EQ(rates.items, (Items{"old", "11", "15"}));
  EXPECT_EQ(rates.ItemIndex(), 1);
  EXPECT_EQ(rates.Text(), "11");
}

TEST(FillProfileList, PresetsThenCustomNamesWithNormalQualitySelected) {
  FakeSelector profile;
  FillProfileList(profile, {"Mine", "Yours"});
  EXPECT_EQ(profile.items, (Items{"Low Quality", "Acceptable Quality", "Normal Quality", "Excellent Quality",
                                  "Superb Quality", "Mine", "Yours"}));
  EXPECT_EQ(profile.Text(), "Normal Quality");
  EXPECT_EQ(profile.Item(kFirstCustomProfile), "Mine");

  FakeSelector presetsOnly;
  FillProfileList(presetsOnly, {});
  EXPECT_EQ(presetsOnly.Count(), kPresetCount);
  EXPECT_EQ(presetsOnly.ItemIndex(), 2);
}

// Notes the order in which the lists receive their first item.
struct OrderRecordingSelector : FakeSelector {
  std::vector<std::string>* order = nullptr;
  std::string name;
  void AddItem(const std::string& text) override {
    if (items.empty()) order->push_back(name);
    FakeSelector::AddItem(text);
  }
};

TEST(FillOptionLists, FillsEveryListInOrderWithItsDefault) {
  Items order;
  OrderRecordingSelector s[11];
  const char* names[11] = {"type",     "profile", "size",   "framerate", "vbitrate", "aspect",
                           "abitrate", "sample",  "volume", "channels",  "custom"};
  for (int i = 0; i < 11; ++i) {
    s[i].order = &order;
    s[i].name = names[i];
  }
  test::FakeControl options;
  OptionControls controls{s[0], s[1], options, s[2], s[3], s[4], s[5], s[6], s[7], s[8], s[9], s[10]};

  FillOptionLists(controls, {"Custom A"});

  EXPECT_EQ(order, (Items{"type", "profile", "aspect", "vbitrate", "abitrate", "channels", "framerate", "sample",
                          "volume", "size"}));
  EXPECT_EQ(s[0].items, (Items{"AMR Audio Files (*.amr)", "AAC Audio Files (*.aac)", "MP3 Audio Files (*.mp3)",
                               "AC3 Audio Files (*.ac3)", "M4A MPEG4 Audio Files (*.m4a)", "OGG Audio Files (*.ogg)",
                               "WAV Audio Files"}));
  EXPECT_EQ(s[0].Text(), "AMR Audio Files (*.amr)");
  EXPECT_EQ(s[1].Count(), 6);
  EXPECT_EQ(s[1].Text(), "Normal Quality");
  EXPECT_EQ(s[2].items, (Items{"352x288", "176x144", "128x96", "320x240", "160x120"}));
  EXPECT_EQ(s[2].Text(), "176x144");
  EXPECT_EQ(s[3].Text(), "15");
  EXPECT_EQ(s[4].items, (Items{"40", "80", "128", "256", "512"}));
  EXPECT_EQ(s[4].Text(), "128");
  EXPECT_EQ(s[5].items, (Items{"4:3", "16:9"}));
  EXPECT_EQ(s[5].Text(), "4:3");
  EXPECT_EQ(s[6].items, (Items{"16", "32", "48", "64", "80", "128", "160", "192", "224"}));
  EXPECT_EQ(s[6].Text(), "48");
  EXPECT_EQ(s[7].items, (Items{"22050", "32000", "44100", "48000"}));
  EXPECT_EQ(s[7].Text(), "44100");
  EXPECT_EQ(s[8].Text(), "200");
  EXPECT_EQ(s[9].items, (Items{"1 channel, Mono", "2 channels, Stereo"}));
  EXPECT_EQ(s[9].Text(), "2 channels, Stereo");
  // The custom profile list is filled from the stored profiles, not here.
  EXPECT_EQ(s[10].Count(), 0);
}

TEST(FillOptionLists, StartUpStateAfterApplyingTheProfile) {
  FakeOptionControls f;
  FillOptionLists(f.controls, {});
  ApplyProfile(f.controls, nullptr);

  EXPECT_EQ(f.outputFiletype.ItemIndex(), kOutputAmr);
  EXPECT_EQ(f.profile.Text(), "Normal Quality");
  EXPECT_EQ(f.videoSize.Text(), "176x144");
  EXPECT_EQ(f.framerate.Text(), "15");
  EXPECT_EQ(f.videoBitrate.Text(), "128");
  EXPECT_EQ(f.audioBitrate.Text(), "128");
  EXPECT_EQ(f.audioChannels.Text(), "2 channels, Stereo");
  EXPECT_EQ(f.audioSample.Text(), "44100");
  EXPECT_EQ(f.aspectratio.Text(), "4:3");
  EXPECT_EQ(f.audioVolumeGain.Text(), "200");
}

}  // namespace
}  // namespace sonvarro
