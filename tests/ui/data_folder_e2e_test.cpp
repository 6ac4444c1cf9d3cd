// An installed program whose data folder is not its application folder: the
// settings, the custom profiles and the log live in the data folder, while
// the encoder, the companion libraries and the help come from the
// application folder, which the program leaves as it found it.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "LogMessages.h"
#include "RecordingDesktop.h"
#include "SilentWav.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "app/AppRoot.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;

using test::WaitUntil;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file below folder with its content.
std::set<std::pair<std::string, std::string>> Snapshot(const fs::path& folder) {
  std::set<std::pair<std::string, std::string>> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    files.emplace(entry.path().lexically_relative(folder).string(),
                  entry.is_regular_file() ? ReadAll(entry.path()) : "<folder>");
  }
  return files;
}

TEST(DataFolderEndToEnd, SettingsProfilesAndLogLiveInTheDataFolder) {
  test::RecordingDesktop desktop;
  test::TempDir app, data, media, out;
  test::LayOutAppFolder(app.Folder(), false);
  // The installed defaults, which the program must not read or change.
  app.WriteFile("Config/UserSettings.ini", "\r\n[USRInfo]\r\nSHWDDir=0\r\nOutDir=" + app.Folder() + "wrong\r\n");
  app.WriteFile("Config/UserProfileInfo.ini", "\r\n[Installed]\r\nInstalled=0|0|0|0|0|0\r\n");
  const auto installed = Snapshot(app.Path());
  // The user's own.
  data.WriteFile("Config/UserSettings.ini",
                 "\r\n[USRInfo]\r\nSHWDDir=1\r\nSHUTDOWN=0\r\nOutDir=" + out.Folder() + "\r\n");
  data.WriteFile("Config/UserProfileInfo.ini", "\r\n[Voice]\r\nVoice=0|0|0|1|0|2\r\n");
  const std::string source = test::WriteSilentWav(media.Folder() + "memo.wav", 1000);

  test::ScriptedDialogs dialogs;
  AppSeams seams = test::TestAppSeams(app.Folder(), desktop, dialogs);
  seams.dataFolder = data.Folder();
  seams.quitApplication = [] {};
  AppRoot root(std::move(seams));
  MainWindowWidgets& w = root.MainWindowSkin().Widgets();
  dialogs.openSourceFiles = [&](const std::string&) { return std::vector<std::string>{source}; };
  dialogs.inputQuery = [](const std::string&, const std::string&, const std::string&) {
    return std::optional<std::string>("Loud");
  };
  root.Show();
  ASSERT_FALSE(root.TerminationRequested()) << "start-up found its companion libraries in the application folder";

  EXPECT_EQ(w.edtOutputFolder->text().toStdString(), out.Folder());
  EXPECT_TRUE(w.chkShowOutputDirectory->isChecked());
  EXPECT_NE(w.cbbProfile->findText("Voice"), -1);
  EXPECT_EQ(w.cbbProfile->findText("Installed"), -1);

  w.btnOpenFile->click();
  ASSERT_TRUE(WaitUntil([&] { return !root.AddFilesPopupSkin().isVisible(); }));
  w.btnConvert->click();
  ASSERT_TRUE(WaitUntil([&] { return !root.Conversion().Running(); }));
  EXPECT_TRUE(fs::is_regular_file(out.Path() / "memo.amr"));  // the default output type
  EXPECT_EQ(desktop.openedFolders.size(), 1u);
  const auto parameters = test::LogMessagesStartingWith(data.Folder(), "parameter: ");
  ASSERT_EQ(parameters.size(), 1u);
  EXPECT_EQ(parameters[0].rfind("parameter: " + app.Folder() + "evc.exe ", 0), 0u) << parameters[0];

  w.btnOptions->click();
  root.OptionsDialogSkin().btnAdd->click();
  root.OptionsDialogSkin().btnApply->click();
  QTest::keyClick(w.dxTreeSourceFileInfo, Qt::Key_F1);
  EXPECT_EQ(desktop.shellOpened, std::vector<std::string>{app.Folder() + "Help.chm"});

  root.MainWindowSkin().close();
  const std::string settings = ReadAll(data.Path() / "Config/UserSettings.ini");
  EXPECT_NE(settings.find("InitDir=" + media.Folder() + "\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("SHWDDir=1\r\nSHUTDOWN=0\r\nOutDir=" + out.Folder() + "\r\n"), std::string::npos) << settings;
  EXPECT_NE(ReadAll(data.Path() / "Config/UserProfileInfo.ini").find("[Loud]"), std::string::npos);
  EXPECT_TRUE(fs::is_regular_file(data.Path() / "Config/UserProfileCount.ini"));
  EXPECT_EQ(Snapshot(app.Path()), installed);
}

}  // namespace
}  // namespace sonvarro
