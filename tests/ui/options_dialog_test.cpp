// The Options dialog and the custom profiles, on the real windows: the
// dialog's commands, the stored files byte for byte, and the main window's
// profile list, which must always apply the profile of the name chosen.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <csignal>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "LogMessages.h"
#include "RecordingDesktop.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "VirtualScheduler.h"
#include "app/AppRoot.h"
#include "engine/OutputTables.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A choice made in a drop-down list by the user.
void UserChooses(QComboBox* box, int index) {
  box->setCurrentIndex(index);
  emit box->activated(index);
}

Names Items(const QComboBox* box, int from = 0) {
  Names items;
  for (int i = from; i < box->count(); ++i) items.push_back(box->itemText(i).toStdString());
  return items;
}

struct Query {
  std::string caption, prompt, text;
};

class OptionsDialogTest : public ::testing::Test {
 protected:
  OptionsDialogTest() {
    fs::create_directory(app.Path() / "Config");
    test::CopyCompanionLibraries(app.Folder());
    dialogs.inputQuery = [this](const std::string& caption, const std::string& prompt, const std::string& text) {
      queries.push_back({caption, prompt, text});
      std::optional<std::string> answer;
      if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
      }
      return answer;
    };
  }

  testing::AssertionResult Show() {
    window.show();
    if (QTest::qWaitForWindowExposed(&window)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the main window was not exposed";
  }
  testing::AssertionResult Open() {
    main.btnOptions->click();
    if (dialog.isVisible()) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the Options dialog did not open";
  }
  void WriteProfiles(const std::string& text) const {
    std::ofstream(app.Path() / "Config/UserProfileInfo.ini", std::ios::binary) << text;
  }
  std::string ProfilesText() const { return ReadText(app.Path() / "Config/UserProfileInfo.ini"); }
  std::string CountText() const { return ReadText(app.Path() / "Config/UserProfileCount.ini"); }
  void Type(const std::string& name) { dialog.cbbCustomProfile->setEditText(QString::fromStdString(name)); }
  std::string BoxText() const { return dialog.cbbCustomProfile->currentText().toStdString(); }
  Names MainCustomNames() const { return Items(main.cbbProfile, kFirstCustomProfile); }

  // The six lists a profile sets, in its order, as their selected positions.
  std::string Positions() const {
    std::string text;
    for (const QComboBox* box : {dialog.cbbVideoSize, dialog.cbbFramerate, dialog.cbbVideoBitrate,
                                 dialog.cbbAudioBitrate, dialog.cbbAudioChannels, dialog.cbbAudioSample}) {
      text += (text.empty() ? "" : "|") + std::to_string(box->currentIndex());
    }
    return text;
  }
  void SetPositions(const std::vector<int>& positions) {
    QComboBox* boxes[] = {dialog.cbbVideoSize,    dialog.cbbFramerate,     dialog.cbbVideoBitrate,
                          dialog.cbbAudioBitrate, dialog.cbbAudioChannels, dialog.cbbAudioSample};
    for (size_t i = 0; i < positions.size(); ++i) boxes[i]->setCurrentIndex(positions[i]);
  }

  AppSeams Seams() {
    AppSeams seams = test::VirtualTimeSeams(app.Folder(), scheduler, desktop, dialogs);
    seams.quitApplication = [] {};
    return seams;
  }

  test::TempDir app;
  test::RecordingDesktop desktop;
  test::VirtualScheduler scheduler;
  test::ScriptedDialogs dialogs;
  AppRoot root{Seams()};
  MainWindow& window = root.MainWindowSkin();
  MainWindowWidgets& main = window.Widgets();
  OptionsDialog& dialog = root.OptionsDialogSkin();

  std::deque<std::optional<std::string>> answers;
  std::vector<Query> queries;
};

// AMR "Normal Quality", what the six lists hold after start-up.
constexpr const char* kStartPositions = "1|1|2|5|1|2";

TEST_F(OptionsDialogTest, TheOptionsCommandShowsTheDialogBesideAUsableMainWindow) {
  ASSERT_TRUE(Show());
  EXPECT_TRUE(main.btnOptions->isVisible());
  EXPECT_EQ(main.btnOptions->geometry(), QRect(595, 160, 70, 20));
  ASSERT_TRUE(Open());
  EXPECT_EQ(dialog.windowTitle(), "Options");
  EXPECT_EQ(dialog.windowModality(), Qt::NonModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "a fixed border";
  const QPoint offCentre = dialog.frameGeometry().center() - dialog.screen()->availableGeometry().center();
  EXPECT_LE(offCentre.manhattanLength(), 2);

  QStringList labels;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
  for (const char* text :
       {"Custom Profile:", "Audio Bitrate(kbps):", "Audio Sample(khz):", "Audio Volume(%):", "Audio Channels:",
        "Video Size:", "Video Bitrate(kbps):", "Frame Rate(fps):", "Aspect Ratio:"}) {
    EXPECT_TRUE(labels.contains(text)) << text;
  }
  EXPECT_EQ(dialog.grpAdvOptions->title(), "Advanced Options");
  EXPECT_TRUE(dialog.grpAdvOptions->isVisible());
  EXPECT_FALSE(dialog.GroupBox1->isVisible());
  EXPECT_TRUE(dialog.cbbCustomProfile->isEditable());
  EXPECT_EQ(dialog.btnAdd->text(), "Add");
  EXPECT_EQ(dialog.btnSave->text(), "Save");
  EXPECT_EQ(dialog.btnDel->text(), "Delete");
  EXPECT_EQ(dialog.btnApply->text(), "OK");
  EXPECT_TRUE(dialog.btnApply->isDefault());
  EXPECT_EQ(dialog.btnCancel->text(), "Cancel");

  // Enter is OK: the dialog closes without restoring.
  UserChooses(dialog.cbbAudioBitrate, 0);
  QTest::keyClick(dialog.cbbAudioBitrate, Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.cbbAudioBitrate->currentIndex(), 0);

  // Ctrl+I works like the button, and like the button not while it is
  // disabled (OGG).
  QTest::keyClick(main.dxTreeSourceFileInfo, Qt::Key_I, Qt::ControlModifier);
  EXPECT_TRUE(dialog.isVisible());
  dialog.hide();
  UserChooses(main.cbbOutputFiletype, kOutputOgg);
  ASSERT_FALSE(main.btnOptions->isEnabled());
  QTest::keyClick(main.dxTreeSourceFileInfo, Qt::Key_I, Qt::ControlModifier);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(OptionsDialogTest, AddCountsEveryAttemptAndStoresTheChoicesUnderTheName) {
  ASSERT_TRUE(Show());
  ASSERT_TRUE(Open());
  dialog.btnAdd->click();  // cancelled
  ASSERT_EQ(queries.size(), 1u);
  EXPECT_EQ(queries[0].caption, "Sonvarro Converter");
  EXPECT_EQ(queries[0].prompt, "Plese input a name");
  EXPECT_EQ(queries[0].text, "UserProfileInfo1");
  EXPECT_EQ(CountText(), "\r\n[count]\r\ncount=1\r\n");
  EXPECT_FALSE(fs::exists(app.Path() / "Config/UserProfileInfo.ini"));

  UserChooses(dialog.cbbAudioBitrate, 3);
  answers = {"Voice"};
  dialog.btnAdd->click();
  EXPECT_EQ(queries.back().text, "UserProfileInfo2");
  EXPECT_EQ(ProfilesText(), "\r\n[Voice]\r\nVoice=1|1|2|3|1|2\r\n");

  UserChooses(dialog.cbbAudioSample, 3);
  answers = {"Music"};
  dialog.btnAdd->click();
  EXPECT_EQ(ProfilesText(), "\r\n[Voice]\r\nVoice=1|1|2|3|1|2\r\n\r\n[Music]\r\nMusic=1|1|2|3|1|3\r\n");
  EXPECT_EQ(Items(dialog.cbbCustomProfile), (Names{"Voice", "Music"}));
  EXPECT_EQ(BoxText(), "Music");
  EXPECT_EQ(MainCustomNames(), (Names{"Voice", "Music"}));

  // An existing name, in any case of its letters, replaces that profile.
  UserChooses(dialog.cbbAudioChannels, 0);
  answers = {"voice"};
  dialog.btnAdd->click();
  EXPECT_EQ(ProfilesText(), "\r\n[Voice]\r\nVoice=1|1|2|3|0|3\r\n\r\n[Music]\r\nMusic=1|1|2|3|1|3\r\n");
  EXPECT_EQ(Items(dialog.cbbCustomProfile), (Names{"Voice", "Music"}));
  EXPECT_EQ(MainCustomNames(), (Names{"Voice", "Music"}));
  EXPECT_EQ(CountText(), "\r\n[count]\r\ncount=4\r\n");
  EXPECT_EQ(main.cbbProfile->currentText(), "Normal Quality");
}

TEST_F(OptionsDialogTest, SaveStoresUnderTheTypedNameWithoutCounting) {
  WriteProfiles("\r\n[Voice]\r\nVoice=1|1|2|3|1|2\r\n");
  ASSERT_TRUE(Show());
  ASSERT_TRUE(Open());
  Type("Speech");
  UserChooses(dialog.cbbAudioBitrate, 0);
  dialog.btnSave->click();
  EXPECT_EQ(ProfilesText(), "\r\n[Voice]\r\nVoice=1|1|2|3|1|2\r\n\r\n[Speech]\r\nSpeech=1|1|2|0|1|2\r\n");
  EXPECT_FALSE(fs::exists(app.Path() / "Config/UserProfileCount.ini"));
  EXPECT_EQ(MainCustomNames(), (Names{"Voice", "Speech"}));

  UserChooses(dialog.cbbCustomProfile, 0);  // applies Voice
  EXPECT_EQ(Positions(), "1|1|2|3|1|2");
  UserChooses(dialog.cbbAudioSample, 0);
  dialog.btnSave->click();
  EXPECT_EQ(ProfilesText(), "\r\n[Voice]\r\nVoice=1|1|2|3|1|0\r\n\r\n[Speech]\r\nSpeech=1|1|2|0|1|2\r\n");
  EXPECT_EQ(BoxText(), "Voice") << "the saved profile stays in the box, not the last entry";
  EXPECT_EQ(Positions(), "1|1|2|3|1|0") << "selecting from the program applies nothing";
}

// Typing a stored name and leaving the box (Tab, a click on a button, Enter)
// is no choice from the list: the name's profile must not overwrite what the
// lists show, so Save, Delete and OK act on the user's choices.
TEST_F(OptionsDialogTest, TypingAStoredNameAppliesNothing) {
  const std::string p2 = "\r\n[P2]\r\nP2=1|1|2|3|1|2\r\n";
  WriteProfiles("\r\n[P1]\r\nP1=1|1|2|5|1|2\r\n" + p2);
  ASSERT_TRUE(Show());
  ASSERT_TRUE(Open());
  const auto typeName = [&](const char* name) {
    QApplication::setActiveWindow(&dialog);  // keys and focus as for a user
    dialog.cbbCustomProfile->setFocus(Qt::OtherFocusReason);
    dialog.cbbCustomProfile->clearEditText();
    QTest::keyClicks(dialog.cbbCustomProfile, name);
  };
  UserChooses(dialog.cbbAudioBitrate, 8);  // 224

  typeName("P1");
  QTest::mouseClick(dialog.btnSave, Qt::LeftButton);
  EXPECT_EQ(ProfilesText(), "\r\n[P1]\r\nP1=1|1|2|8|1|2\r\n" + p2);
  EXPECT_EQ(dialog.cbbAudioBitrate->currentText(), "224");
  EXPECT_EQ(BoxText(), "P1") << "the saved profile stays chosen";

  // Leaving the box with Tab applies nothing either.
  UserChooses(dialog.cbbAudioBitrate, 0);
  typeName("P2");
  QTest::keyClick(dialog.cbbCustomProfile, Qt::Key_Tab);
  EXPECT_EQ(dialog.cbbAudioBitrate->currentText(), "16");

  // The arrow keys choose from the list, and apply.
  dialog.cbbCustomProfile->setFocus(Qt::OtherFocusReason);
  dialog.cbbCustomProfile->setCurrentIndex(0);
  QTest::keyClick(dialog.cbbCustomProfile, Qt::Key_Down);
  EXPECT_EQ(BoxText(), "P2");
  EXPECT_EQ(Positions(), "1|1|2|3|1|2");

  // Enter ends the typing and presses OK: the choices stay.
  UserChooses(dialog.cbbAudioBitrate, 0);
  typeName("P1");
  QTest::keyClick(dialog.cbbCustomProfile, Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.cbbAudioBitrate->currentText(), "16");
}

TEST_F(OptionsDialogTest, DeletingTheOnlyProfileEmptiesTheListsAndLeavesTheCounter) {
  WriteProfiles("\r\n[Voice]\r\nVoice=1|1|2|3|1|2\r\n");
  std::ofstream(app.Path() / "Config/UserProfileCount.ini", std::ios::binary) << "\r\n[count]\r\ncount=7\r\n";
  ASSERT_TRUE(Show());
  ASSERT_TRUE(Open());
  UserChooses(dialog.cbbCustomProfile, 0);
  dialog.btnDel->click();
  EXPECT_EQ(ProfilesText(), "\r\n\r\n");
  EXPECT_EQ(dialog.cbbCustomProfile->count(), 0);
  EXPECT_EQ(BoxText(), "");
  EXPECT_EQ(MainCustomNames(), Names{});
  EXPECT_EQ(CountText(), "\r\n[count]\r\ncount=7\r\n");

  // A name typed into an empty list deletes nothing.
  WriteProfiles("\r\n[Voice]\r\nVoice=1|1|2|3|1|2\r\n");
  Type("Voice");
  dialog.btnDel->click();
  EXPECT_EQ(ProfilesText(), "\r\n[Voice]\r\nVoice=1|1|2|3|1|2\r\n");
}

TEST_F(OptionsDialogTest, NamesThatCouldNeverBeReadBackAreRefused) {
  struct Case {
    const char* name;
    const char* message;
  };
  const Case cases[] = {
      {"", "The profile name cannot be empty."},
      {"  ", "The profile name cannot be empty."},
      {"a=b", "The profile name cannot contain \"=\"."},
      {"Voice ", "The profile name cannot begin or end with a blank."},
      {" Voice", "The profile name cannot begin or end with a blank."},
      {"Vo\x1bice", "The profile name cannot contain control characters."},
  };
  ASSERT_TRUE(Show());
  ASSERT_TRUE(Open());
  for (const Case& c : cases) {
    for (QPushButton* command : {dialog.btnAdd, dialog.btnSave}) {
      SCOPED_TRACE("\"" + std::string(c.name) + "\" " + command->text().toStdString());
      desktop.messages.clear();
      answers = {c.name};
      Type(c.name);
      command->click();
      ASSERT_EQ(desktop.messages.size(), 1u);
      EXPECT_EQ(desktop.messages[0].text, c.message);
      EXPECT_EQ(desktop.messages[0].icon, platform::MessageIcon::Warning);
      EXPECT_FALSE(fs::exists(app.Path() / "Config/UserProfileInfo.ini"));
    }
    EXPECT_EQ(BoxText(), c.name) << "a name refused by Save stays in the box to be mended";
  }
}

TEST_F(OptionsDialogTest, AStoredProfileIsAppliedWholeOrNotAtAll) {
  struct Case {
    const char* name;
    const char* value;
    const char* positions;  // from 0|0|0|0|0|0
    bool logged;
    const char* message;  // shown when chosen, or empty
  };
  const Case cases[] = {
      {"Whole", "4|1|4|8|1|3", "4|1|4|8|1|3", false, ""},
      {"Gap", "4|1|4||1|3", "4|1|4|0|1|3", false, ""},  // an empty part leaves its list
      {"Keep", "none|none|none|2|1|1", "0|0|0|2|1|1", false, ""},
      {"Outside", "-1|1|9|8|1|3", "-1|1|-1|8|1|3", false, ""},  // no selection
      {"Trailing", "4|1|4|8|1|", "0|0|0|0|0|0", true, ""},      // five parts
      {"Seven", "4|1|4|8|1|3|1", "0|0|0|0|0|0", true, ""},
      // Nothing before the bad part either, and the user is told which part.
      {"Word", "4|1|4|x|1|3", "0|0|0|0|0|0", true, "'x' is not a valid integer value"},
      {"Sign", "4|1|4|+-8|1|3", "0|0|0|0|0|0", true, "'+-8' is not a valid integer value"},
      {"Empty", "", "0|0|0|0|0|0", false, ""},
  };
  std::string file;
  for (const Case& c : cases) file += std::string("\r\n[") + c.name + "]\r\n" + c.name + "=" + c.value + "\r\n";
  WriteProfiles(file);
  ASSERT_TRUE(Show());
  ASSERT_TRUE(Open());
  std::vector<std::string> expectedLog;
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.name);
    SetPositions({0, 0, 0, 0, 0, 0});
    desktop.messages.clear();
    UserChooses(dialog.cbbCustomProfile, i);
    EXPECT_EQ(Positions(), c.positions);
    if (c.logged) expectedLog.push_back(std::string("Custom profile error. ->") + c.name + "=" + c.value);
    if (*c.message) {
      ASSERT_EQ(desktop.messages.size(), 1u);
      EXPECT_EQ(desktop.messages[0].text, c.message);
      EXPECT_EQ(desktop.messages[0].icon, platform::MessageIcon::Error);
    } else {
      EXPECT_TRUE(desktop.messages.empty());
    }
  }
  EXPECT_EQ(test::LogMessagesStartingWith(app.Folder(), "Custom profile error."), expectedLog);
}

// Chosen on the main window, a profile with a word in it is reported once:
// not again for another output type nor for each converted item.
TEST_F(OptionsDialogTest, ABrokenProfileIsReportedOnceWhenChosenOnTheMainWindow) {
  WriteProfiles("\r\n[Word]\r\nWord=4|1|4|x|1|3\r\n");
  ASSERT_TRUE(Show());
  UserChooses(main.cbbOutputFiletype, kOutputMp3);
  UserChooses(main.cbbProfile, kFirstCustomProfile);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "'x' is not a valid integer value");
  UserChooses(main.cbbOutputFiletype, kOutputAac);
  root.OptionsBehaviour().ApplyMainWindowProfile();
  EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(OptionsDialogTest, CancelRestoresTheEightListsAndTheProfileBox) {
  WriteProfiles("\r\n[Voice]\r\nVoice=4|0|4|8|0|3\r\n");
  ASSERT_TRUE(Show());
  ASSERT_TRUE(Open());
  const std::string opened = Positions();
  ASSERT_EQ(opened, kStartPositions);
  // Gives the six lists' positions after the change.
  const auto change = [&] {
    UserChooses(dialog.cbbCustomProfile, 0);  // the hidden video lists move as well
    UserChooses(dialog.cbbAspectratio, 1);
    UserChooses(dialog.cbbAudioVolumeGain, 0);
    return Positions();
  };
  const std::string changed = "4|0|4|8|0|3";
  const auto expectRestored = [&] {
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Positions(), opened);
    EXPECT_EQ(dialog.cbbAspectratio->currentIndex(), 0);
    EXPECT_EQ(dialog.cbbAudioVolumeGain->currentText(), "200");
    EXPECT_EQ(BoxText(), "");
    EXPECT_EQ(dialog.cbbCustomProfile->currentIndex(), -1);
  };

  ASSERT_EQ(change(), changed);
  answers = {"Extra"};
  dialog.btnAdd->click();
  dialog.btnCancel->click();
  expectRestored();
  EXPECT_NE(ProfilesText().find("[Extra]"), std::string::npos) << "what was stored stays";

  ASSERT_TRUE(Open());
  ASSERT_EQ(change(), changed);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  expectRestored();

  // The title bar's close button neither restores nor rebuilds.
  ASSERT_TRUE(Open());
  ASSERT_EQ(change(), changed);
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(Positions(), changed);
  EXPECT_EQ(BoxText(), "Voice");
}

TEST_F(OptionsDialogTest, OkRebuildsTheMainProfileListAndKeepsTheDialogsChoices) {
  WriteProfiles("\r\n[Voice]\r\nVoice=4|0|4|8|0|3\r\n");
  ASSERT_TRUE(Show());
  UserChooses(main.cbbProfile, 3);
  ASSERT_TRUE(Open());
  UserChooses(dialog.cbbCustomProfile, 0);
  answers = {"Extra"};
  dialog.btnAdd->click();
  EXPECT_EQ(main.cbbProfile->currentText(), "Excellent Quality") << "Add keeps the main window's choice";
  dialog.btnApply->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(Items(main.cbbProfile), (Names{"Low Quality", "Acceptable Quality", "Normal Quality", "Excellent Quality",
                                           "Superb Quality", "Voice", "Extra"}));
  EXPECT_EQ(main.cbbProfile->currentText(), "Extra") << "the profile added last holds the lists' values";
  EXPECT_EQ(Positions(), "4|0|4|8|0|3");
}

// After the dialog the main window's list shows the profile the lists hold,
// or nothing when they hold no profile: never one profile while the next
// file is converted with another.
TEST_F(OptionsDialogTest, AfterTheDialogTheMainListShowsWhatWillBeConverted) {
  WriteProfiles("\r\n[Voice]\r\nVoice=4|0|4|8|0|3\r\n[Same]\r\nSame=1|1|4|8|1|3\r\n");
  struct Case {
    const char* what;
    int mainProfile;
    std::function<void()> inDialog;
    bool ok;  // OK, else the title bar's close button
    const char* shown;
  };
  const Case cases[] = {
      {"nothing changed", 4, [] {}, true, "Superb Quality"},
      {"a custom profile chosen", 4, [&] { UserChooses(dialog.cbbCustomProfile, 0); }, true, "Voice"},
      {"values of another preset", 4,
       [&] {
         SetPositions({1, 1, 2, 5, 1, 2});
       },
       true, "Normal Quality"},
      {"values of no profile", 4, [&] { UserChooses(dialog.cbbAudioBitrate, 0); }, true, ""},
      {"closed after a change", 2, [&] { UserChooses(dialog.cbbAudioBitrate, 0); }, false, ""},
      {"a profile saved", 2,
       [&] {
         UserChooses(dialog.cbbAudioBitrate, 0);
         Type("Voice");
         dialog.btnSave->click();
       },
       true, "Voice"},
  };
  ASSERT_TRUE(Show());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UserChooses(main.cbbOutputFiletype, kOutputMp3);
    UserChooses(main.cbbProfile, c.mainProfile);
    ASSERT_TRUE(Open());
    c.inDialog();
    const std::string lists = Positions();
    if (c.ok) {
      dialog.btnApply->click();
    } else {
      dialog.close();
    }
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(main.cbbProfile->currentText().toStdString(), c.shown);
    EXPECT_EQ(Positions(), lists) << "the dialog's choices are what converts";
  }
}

TEST_F(OptionsDialogTest, ChoosingANameOnTheMainWindowAppliesThatProfile) {
  WriteProfiles("\r\n[Voice]\r\nVoice=4|0|4|8|0|3\r\n\r\n[Music]\r\nMusic=1|1|2|3|1|3\r\n");
  ASSERT_TRUE(Show());
  // Before the dialog was ever shown.
  UserChooses(main.cbbOutputFiletype, kOutputMp3);
  UserChooses(main.cbbProfile, 6);
  ASSERT_EQ(main.cbbProfile->currentText(), "Music");
  EXPECT_EQ(Positions(), "1|1|2|3|1|3");
  EXPECT_EQ(BoxText(), "Music");
  // Another output type applies the profile again, not a preset.
  SetPositions({0, 0, 0, 0, 0, 0});
  UserChooses(main.cbbOutputFiletype, kOutputAac);
  EXPECT_EQ(Positions(), "1|1|2|3|1|3");

  // Delete, then Cancel: the main window's list follows the file.
  ASSERT_TRUE(Open());
  UserChooses(dialog.cbbCustomProfile, 0);
  dialog.btnDel->click();
  dialog.btnCancel->click();
  EXPECT_EQ(MainCustomNames(), Names{"Music"});
  EXPECT_EQ(main.cbbProfile->currentText(), "Music") << "the choice stays with its name";
  UserChooses(main.cbbProfile, 0);
  UserChooses(main.cbbProfile, 5);
  EXPECT_EQ(Positions(), "1|1|2|3|1|3");

  // Add, then the title bar's close button.
  ASSERT_TRUE(Open());
  UserChooses(dialog.cbbAudioBitrate, 7);
  answers = {"Loud"};
  dialog.btnAdd->click();
  dialog.close();
  ASSERT_EQ(MainCustomNames(), (Names{"Music", "Loud"}));
  UserChooses(main.cbbProfile, 0);
  UserChooses(main.cbbProfile, 6);
  EXPECT_EQ(Positions(), "1|1|2|7|1|3");

  // Deleting the profile the main window shows gives way to the default
  // preset there.
  ASSERT_TRUE(Open());
  Type("Loud");
  dialog.btnDel->click();
  EXPECT_EQ(MainCustomNames(), Names{"Music"});
  EXPECT_EQ(main.cbbProfile->currentText(), "Normal Quality");
}

TEST_F(OptionsDialogTest, EachConvertedItemUsesTheProfileTheMainWindowShows) {
  WriteProfiles("\r\n[Voice]\r\nVoice=1|1|2|3|0|3\r\n");
  test::TempDir out;
  ASSERT_TRUE(Show());
  main.edtOutputFolder->setText(QString::fromStdString(out.Folder()));
  main.dxTreeSourceFileInfo->AppendRow(
      {kCheckedText, "/in/clip.wav", "1 KB", "00:00:05", "00:00:00", "00:00:05", "00:00:05"});
  CommandLineBuilder& builder = root.Conversion().Builder();

  // The profile as stored, over what the lists were changed to since.
  UserChooses(main.cbbOutputFiletype, kOutputMp3);
  UserChooses(main.cbbProfile, 5);
  dialog.cbbAudioBitrate->setCurrentIndex(8);
  EXPECT_NE(builder.BuildCommandLine("/in/clip.wav").text.find(" -ab 64 -vol 200 -ac 1 -ar 48000 "), std::string::npos);

  // Changed in the dialog and closed with the title bar's button, the lists
  // hold no profile any more: the main window shows none and converts them.
  ASSERT_TRUE(Open());
  UserChooses(dialog.cbbAudioBitrate, 8);
  dialog.close();
  EXPECT_EQ(main.cbbProfile->currentIndex(), -1);
  EXPECT_NE(builder.BuildCommandLine("/in/clip.wav").text.find(" -ab 224 -vol 200 -ac 1 -ar 48000 "),
            std::string::npos);

  // A preset chosen since: the profile still selected in the dialog stays out.
  UserChooses(main.cbbProfile, 0);
  ASSERT_EQ(BoxText(), "Voice");
  EXPECT_NE(builder.BuildCommandLine("/in/clip.wav").text.find(" -ab 48 -vol 200 -ac 1 -ar 22050 "), std::string::npos);
}

// Lets the file system refuse any file longer than a few bytes while it lives.
class TinyFileLimit {
 public:
  TinyFileLimit() {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved_;
    tiny.rlim_cur = 8;
    ::setrlimit(RLIMIT_FSIZE, &tiny);
  }
  ~TinyFileLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit saved_{};
  void (*oldHandler_)(int);
};

TEST_F(OptionsDialogTest, AFailedSaveKeepsTheFileAndTellsTheUser) {
  const std::string stored = "\r\n[Voice]\r\nVoice=1|1|2|3|0|3\r\n";
  WriteProfiles(stored);
  ASSERT_TRUE(Show());
  ASSERT_TRUE(Open());
  Type("Voice");
  UserChooses(dialog.cbbAudioBitrate, 0);
  {
    TinyFileLimit limit;
    answers = {"Other"};
    dialog.btnAdd->click();
    dialog.btnSave->click();
  }
  EXPECT_TRUE(queries.empty()) << "the count could not be saved: Add stops there";
  ASSERT_EQ(desktop.messages.size(), 2u);
  const std::string folder = app.Folder() + "Config/";
  EXPECT_EQ(desktop.messages[0].text, "Cannot create file \"" + folder + "UserProfileCount.ini\". File too large");
  EXPECT_EQ(desktop.messages[1].text, "Cannot create file \"" + folder + "UserProfileInfo.ini\". File too large");
  EXPECT_EQ(ProfilesText(), stored);
  EXPECT_FALSE(fs::exists(folder + "UserProfileCount.ini"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "a temporary file left";
}

}  // namespace
}  // namespace sonvarro
