// The main window end to end: files added through its open command, an
// output type and a preset chosen as a user would, the real encoder, and the
// settings written when the window closes.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "LogMessages.h"
#include "RecordingDesktop.h"
#include "SilentWav.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "app/AppRoot.h"
#include "engine/OutputTables.h"
#include "player/ProbeGraph.h"
#include "sourcelist/Probe.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;

using test::WaitUntil;

constexpr int kExcellentQuality = 3;

// The audio bitrate index that the chosen MP3 preset selects (fourth field).
size_t PresetAudioBitrateIndex() {
  const std::string_view preset = OutputTypeTable[kOutputMp3].presets[kExcellentQuality];
  size_t start = 0;
  for (int field = 0; field < 3; ++field) start = preset.find('|', start) + 1;
  return static_cast<size_t>(std::stoi(std::string(preset.substr(start, preset.find('|', start) - start))));
}

// A choice made in the drop-down list by the user.
void UserChooses(QComboBox* box, int index) {
  box->setCurrentIndex(index);
  emit box->activated(index);
}

TEST(MainWindowEndToEnd, AddChooseConvertAndClose) {
  test::RecordingDesktop desktop;
  test::TempDir app, media, out;
  test::LayOutAppFolder(app.Folder());  // the splash shows for real
  const std::string first = test::WriteSilentWav(media.Folder() + "first take.wav", 3000);
  const std::string second = test::WriteSilentWav(media.Folder() + "zweite Ü $x.wav", 2000);

  test::ScriptedDialogs dialogs;
  dialogs.openSourceFiles = [&](const std::string&) { return std::vector<std::string>{first, second}; };
  dialogs.pickOutputFolder = [&] { return std::optional<std::string>(out.Folder() + "converted"); };
  int ends = 0;
  AppSeams seams = test::TestAppSeams(app.Folder(), desktop, dialogs);
  seams.quitApplication = [&] { ++ends; };
  AppRoot root(std::move(seams));
  MainWindow& window = root.MainWindowSkin();
  MainWindowWidgets& w = window.Widgets();
  fs::create_directory(out.Path() / "converted");
  root.Show();

  w.btnOpenFile->click();
  ASSERT_TRUE(WaitUntil([&] { return !root.AddFilesPopupSkin().isVisible(); }));
  ASSERT_EQ(w.dxTreeSourceFileInfo->RowCount(), 2);
  UserChooses(w.cbbOutputFiletype, kOutputMp3);
  UserChooses(w.cbbProfile, kExcellentQuality);
  w.RzBmpButton1->click();
  w.chkShowOutputDirectory->setChecked(false);

  w.btnConvert->click();
  ASSERT_TRUE(WaitUntil([&] { return !root.Conversion().Running(); }));
  EXPECT_TRUE(window.isEnabled());

  std::vector<std::string> produced;
  for (const auto& entry : fs::directory_iterator(out.Path() / "converted")) {
    produced.push_back(entry.path().filename().string());
  }
  std::sort(produced.begin(), produced.end());
  ASSERT_EQ(produced, (std::vector<std::string>{"first take.mp3", "zweite Ü $x.mp3"}));
  ProbeGraph probe;
  EXPECT_EQ(ProbeDuration(out.Folder() + "converted/first take.mp3", probe), 3);
  EXPECT_EQ(ProbeDuration(out.Folder() + "converted/zweite Ü $x.mp3", probe), 2);
  EXPECT_TRUE(desktop.openedFolders.empty());
  // The command lines carry the chosen type and the preset's audio bitrate.
  const std::string bitrate = "-ab " + std::string(AudioBitrates[PresetAudioBitrateIndex()]) + " ";
  for (const std::string& line : test::LogMessagesStartingWith(app.Folder(), "parameter: ")) {
    EXPECT_NE(line.find("-acodec mp3 "), std::string::npos) << line;
    EXPECT_NE(line.find(bitrate), std::string::npos) << line;
  }
  EXPECT_EQ(test::LogMessagesStartingWith(app.Folder(), "parameter: ").size(), 2u);

  window.close();
  EXPECT_EQ(ends, 1);
  std::ifstream settings(app.Path() / "Config/UserSettings.ini", std::ios::binary);
  const std::string text(std::istreambuf_iterator<char>(settings), {});
  EXPECT_NE(text.find("SHWDDir=0\r\nSHUTDOWN=0\r\nOutDir=" + out.Folder() + "converted\r\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("InitDir=" + media.Folder() + "\r\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace sonvarro
