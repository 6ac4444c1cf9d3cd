// A custom profile end to end: made in the Options dialog as a user would,
// chosen on the main window after a preset, and converted by the real
// encoder into a file with the profile's bitrate, channels and sample rate.

#include <gtest/gtest.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>

#include "RecordingDesktop.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "TestMedia.h"
#include "WaitUntil.h"
#include "app/AppRoot.h"
#include "engine/OutputTables.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;

using test::WaitUntil;

void UserChooses(QComboBox* box, int index) {
  box->setCurrentIndex(index);
  emit box->activated(index);
}

// The bitrate the container states for its audio stream, in bit/s; -1 when
// the file cannot be read.
int64_t StatedAudioBitrate(const std::string& path) {
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) != 0) return -1;
  int64_t bitrate = -1;
  if (avformat_find_stream_info(format, nullptr) >= 0) {
    const int stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream >= 0) bitrate = format->streams[stream]->codecpar->bit_rate;
  }
  avformat_close_input(&format);
  return bitrate;
}

TEST(CustomProfileEndToEnd, AProfileChosenOnTheMainWindowShapesTheOutput) {
  test::RecordingDesktop desktop;
  test::TempDir app, media, out;
  test::LayOutAppFolder(app.Folder());  // the splash shows for real
  const std::string source = media.Folder() + "interview.wav";
  test::ToneSpec tone;
  tone.seconds = 3;
  tone.sampleRate = 44100;
  tone.channels = 2;
  std::string error;
  ASSERT_TRUE(test::WriteToneFile(source, tone, &error)) << error;

  test::ScriptedDialogs dialogs;
  AppSeams seams = test::TestAppSeams(app.Folder(), desktop, dialogs);
  seams.quitApplication = [] {};
  AppRoot root(std::move(seams));
  MainWindowWidgets& w = root.MainWindowSkin().Widgets();
  OptionsDialog& dialog = root.OptionsDialogSkin();
  dialogs.openSourceFiles = [&](const std::string&) { return std::vector<std::string>{source}; };
  dialogs.pickOutputFolder = [&] { return std::optional<std::string>(out.Folder()); };
  dialogs.inputQuery = [](const std::string&, const std::string&, const std::string&) {
    return std::optional<std::string>("Interview");
  };
  root.Show();

  w.btnOpenFile->click();
  ASSERT_TRUE(WaitUntil([&] { return !root.AddFilesPopupSkin().isVisible(); }));
  ASSERT_EQ(w.dxTreeSourceFileInfo->RowCount(), 1);
  UserChooses(w.cbbOutputFiletype, kOutputMp3);

  // 64 kbit/s, mono, 48000 Hz: no MP3 preset has any of these with the others.
  w.btnOptions->click();
  UserChooses(dialog.cbbAudioBitrate, dialog.cbbAudioBitrate->findText("64"));
  UserChooses(dialog.cbbAudioChannels, dialog.cbbAudioChannels->findText("1 channel, Mono"));
  UserChooses(dialog.cbbAudioSample, dialog.cbbAudioSample->findText("48000"));
  dialog.btnAdd->click();
  dialog.btnApply->click();

  UserChooses(w.cbbProfile, w.cbbProfile->findText("Superb Quality"));
  ASSERT_EQ(dialog.cbbAudioBitrate->currentText(), "224");
  UserChooses(w.cbbProfile, w.cbbProfile->findText("Interview"));
  w.RzBmpButton1->click();
  w.chkShowOutputDirectory->setChecked(false);
  w.btnConvert->click();
  ASSERT_TRUE(WaitUntil([&] { return !root.Conversion().Running(); }));

  const std::string output = out.Folder() + "interview.mp3";
  const test::MediaReport report = test::DecodeMedia(output);
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_EQ(report.codecName, "mp3");
  EXPECT_EQ(report.channels, 1);
  EXPECT_EQ(report.sampleRate, 48000);
  EXPECT_NEAR(report.durationSeconds, 3.0, 0.1);
  EXPECT_EQ(StatedAudioBitrate(output), 64000);
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace sonvarro
