#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeControls.h"
#include "engine/OptionLists.h"
#include "engine/OutputTables.h"

namespace sonvarro {
namespace {

// The main window as far as profiles go: filled lists, and the output type
// and profile lists applying the profile on the user's choice.
class ApplyProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillOptionLists(f.controls, {"First custom", "Second custom"});
    f.customProfile.items = {"First custom", "Second custom"};
    auto apply = [this] { ApplyProfile(f.controls, [this] { ++customApplied; }); };
    f.outputFiletype.OnChange = apply;
    f.profile.OnChange = apply;
    apply();
  }

  std::vector<test::FakeSelector*> VideoSelectors() {
    return {&f.aspectratio, &f.framerate, &f.videoBitrate, &f.videoSize};
  }
  std::vector<test::FakeSelector*> AudioSelectors() {
    return {&f.audioBitrate, &f.audioSample, &f.audioVolumeGain, &f.audioChannels};
  }
  // The selected texts of all option lists, to see that nothing moved.
  std::vector<std::string> OptionTexts() {
    std::vector<std::string> texts;
    for (auto* s : VideoSelectors()) texts.push_back(s->Text());
    for (auto* s : AudioSelectors()) texts.push_back(s->Text());
    return texts;
  }

  test::FakeOptionControls f;
  int customApplied = 0;
};

TEST_F(ApplyProfileTest, EveryPresetSelectsItsQuality) {
  const char* audioBitrates[kPresetCount] = {"48", "80", "128", "192", "224"};
  const char* videoBitrates[kPresetCount] = {"40", "80", "128", "256", "512"};
  const char* frameRates[kPresetCount] = {"11", "11", "15", "15", "15"};
  struct Audio {
    const char* channels;
    const char* sample;
  };
  const Audio mono22050 = {"1 channel, Mono", "22050"};
  const Audio stereoLadder[kPresetCount] = {mono22050,
                                            {"2 channels, Stereo", "32000"},
                                            {"2 channels, Stereo", "44100"},
                                            {"2 channels, Stereo", "44100"},
                                            {"2 channels, Stereo", "48000"}};

  for (int type = 0; type < kOutputTypeCount; ++type) {
    const bool hasVideo = type != kOutputOgg && type != kOutputWav;
    const bool monoOnly = type == kOutputAac || type == kOutputAc3 || type == kOutputOgg;
    for (int preset = 0; preset < kPresetCount; ++preset) {
      SCOPED_TRACE("type " + std::to_string(type) + ", preset " + std::to_string(preset));
      // Mark the video lists so that an untouched one shows.
      f.videoSize.SetItemIndex(4);
      f.framerate.SetItemIndex(-1);
      f.videoBitrate.SetItemIndex(-1);
      f.outputFiletype.UserSelects(type);
      f.profile.UserSelects(preset);

      EXPECT_EQ(f.audioBitrate.Text(), audioBitrates[preset]);
      const Audio audio = monoOnly ? mono22050 : stereoLadder[preset];
      EXPECT_EQ(f.audioChannels.Text(), audio.channels);
      EXPECT_EQ(f.audioSample.Text(), audio.sample);
      if (hasVideo) {
        EXPECT_EQ(f.videoSize.Text(), "176x144");
        EXPECT_EQ(f.framerate.Text(), frameRates[preset]);
        EXPECT_EQ(f.videoBitrate.Text(), videoBitrates[preset]);
      } else {
        EXPECT_EQ(f.videoSize.ItemIndex(), 4);
        EXPECT_EQ(f.framerate.ItemIndex(), -1);
        EXPECT_EQ(f.videoBitrate.ItemIndex(), -1);
      }
    }
  }
  EXPECT_EQ(customApplied, 0);
}

// The enabled states depend on the output type alone, whichever type and
// profile were chosen before it (AMR after OGG enables the Options button).
TEST_F(ApplyProfileTest, OutputTypeAloneSetsTheEnabledStates) {
  struct States {
    bool profile, options, video;
  };
  const States expected[kOutputTypeCount] = {
      {true, true, true}, {true, true, true},    {true, true, true},  {true, true, true},
      {true, true, true}, {false, false, false}, {true, true, false},
  };
  for (int profile : {2, kFirstCustomProfile}) {
    for (int before = 0; before < kOutputTypeCount; ++before) {
      for (int type = 0; type < kOutputTypeCount; ++type) {
        SCOPED_TRACE("profile " + std::to_string(profile) + ", type " + std::to_string(before) + " then " +
                     std::to_string(type));
        f.profile.SetItemIndex(profile);
        f.outputFiletype.UserSelects(before);
        f.outputFiletype.UserSelects(type);
        const States& want = expected[type];
        EXPECT_EQ(f.profile.Enabled(), want.profile);
        EXPECT_EQ(f.btnOptions.Enabled(), want.options);
        for (auto* video : VideoSelectors()) EXPECT_EQ(video->Enabled(), want.video);
      }
    }
  }
}

TEST_F(ApplyProfileTest, AudioListsStayEnabledAndTheVolumeIsNeverTouched) {
  f.audioVolumeGain.SetItemIndex(3);
  for (int type = 0; type < kOutputTypeCount; ++type) {
    f.outputFiletype.UserSelects(type);
    for (auto* audio : AudioSelectors()) EXPECT_TRUE(audio->Enabled()) << "type " << type;
    EXPECT_EQ(f.audioVolumeGain.ItemIndex(), 3);
  }
}

TEST_F(ApplyProfileTest, OggAndWavKeepTheVideoSelections) {
  f.videoSize.SetItemIndex(3);
  f.framerate.SetItemIndex(0);
  f.videoBitrate.SetItemIndex(4);
  f.aspectratio.SetItemIndex(1);
  for (int type : {kOutputOgg, kOutputWav}) {
    f.outputFiletype.UserSelects(type);
    EXPECT_EQ(f.videoSize.ItemIndex(), 3);
    EXPECT_EQ(f.framerate.ItemIndex(), 0);
    EXPECT_EQ(f.videoBitrate.ItemIndex(), 4);
    EXPECT_EQ(f.aspectratio.ItemIndex(), 1);
  }
}

TEST_F(ApplyProfileTest, TheProfileStaysWhenTheOutputTypeChanges) {
  f.outputFiletype.UserSelects(kOutputMp3);
  f.profile.UserSelects(3);  // Excellent: stereo 44100
  EXPECT_EQ(f.audioChannels.Text(), "2 channels, Stereo");

  f.outputFiletype.UserSelects(kOutputAac);  // AAC's Excellent: mono 22050
  EXPECT_EQ(f.profile.Text(), "Excellent Quality");
  EXPECT_EQ(f.audioBitrate.Text(), "192");
  EXPECT_EQ(f.audioChannels.Text(), "1 channel, Mono");
  EXPECT_EQ(f.audioSample.Text(), "22050");
}

TEST_F(ApplyProfileTest, CustomProfileSelectsItsEntryAndChangesNoOtherSelection) {
  f.outputFiletype.UserSelects(kOutputMp3);
  f.profile.UserSelects(kFirstCustomProfile + 1);
  const auto texts = OptionTexts();

  EXPECT_EQ(customApplied, 1);
  EXPECT_EQ(f.customProfile.Text(), "Second custom");

  // Another output type applies the custom profile again, not a preset.
  f.outputFiletype.UserSelects(kOutputWav);
  EXPECT_EQ(customApplied, 2);
  EXPECT_EQ(OptionTexts(), texts);

  f.profile.UserSelects(kFirstCustomProfile);
  EXPECT_EQ(customApplied, 3);
  EXPECT_EQ(f.customProfile.Text(), "First custom");
}

TEST_F(ApplyProfileTest, WithoutSelectionOrCustomStepNothingBreaks) {
  const auto texts = OptionTexts();
  f.profile.UserSelects(-1);
  f.outputFiletype.UserSelects(kOutputOgg);
  EXPECT_EQ(OptionTexts(), texts);
  EXPECT_FALSE(f.profile.Enabled());

  f.profile.SetItemIndex(kFirstCustomProfile);
  ApplyProfile(f.controls, nullptr);
  EXPECT_EQ(f.customProfile.ItemIndex(), 0);
  EXPECT_EQ(OptionTexts(), texts);
}

}  // namespace
}  // namespace sonvarro
