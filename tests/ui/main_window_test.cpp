#include <gtest/gtest.h>

#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "RecordingDesktop.h"
#include "SilentWav.h"
#include "TempDir.h"
#include "VirtualScheduler.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "settings/DefaultFolders.h"
#include "shell/MainForm.h"
#include "ui/CodeErrorForm.h"
#include "ui/InitFileForm.h"
#include "ui/OptionsDialog.h"
#include "ui/SourceFileDialogs.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The main window with the windows created after it, on a temporary
// application folder, its pickers and dialogs scripted.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    fs::create_directory(app.Path() / "Config");
    form.AttachOptionsDialog(options);
    form.AttachInitFileForm(popup);
    form.dlgOpenSourceFile = [this](const std::string& initialDir) {
      dialogStartedIn.push_back(initialDir);
      return dialogChoice;
    };
    form.pickOutputFolder = [this] {
      ++pickerCalls;
      return pickedFolder;
    };
    form.showFileReadError = [this] { ++fileReadErrors; };
    form.endProcess = [this] { ++processEnds; };
  }

  void Show() {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  }
  std::string Wav(const std::string& name, int ms = 1500) { return test::WriteSilentWav(media.Folder() + name, ms); }
  SourceGrid& Grid() { return *form.Widgets().dxTreeSourceFileInfo; }
  Paths Names() {
    Paths names;
    for (int row = 0; row < Grid().RowCount(); ++row) names.push_back(Grid().Cell(row, kColFileName));
    return names;
  }
  std::string SettingsText() const { return ReadText(app.Path() / "Config/UserSettings.ini"); }
  void Drop(QWidget* target, const Paths& paths) {
    QList<QUrl> urls;
    for (const auto& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
    urls << QUrl(QStringLiteral("https://example.org/remote.mp3"));  // not a local file: ignored
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
  }

  test::TempDir app, media;
  test::RecordingDesktop desktop;
  test::VirtualScheduler scheduler;
  TAppFunc appFunc{app.Folder()};
  TCommonLib common{app.Folder(), appFunc};
  TFrmMainForm form{{app.Folder(), scheduler, appFunc, common}};
  OptionsDialog options{&form};
  TFrmInitFileForm popup{scheduler, &form};

  Paths dialogChoice;
  Paths dialogStartedIn;
  std::optional<std::string> pickedFolder;
  int pickerCalls = 0, fileReadErrors = 0, processEnds = 0;
};

TEST_F(MainWindowTest, FirstShowFillsTheListsAndLoadsTheSettings) {
  std::ofstream(app.Path() / "Config/UserSettings.ini")
      << "\r\n[USRInfo]\r\nSHWDDir=0\r\nSHUTDOWN=1\r\nOutDir=/srv/out\r\n";
  MainWindowWidgets& w = form.Widgets();
  EXPECT_TRUE(w.chkShowOutputDirectory->isChecked());  // design state until the settings load
  EXPECT_EQ(w.edtOutputFolder->text().toStdString(), DefaultOutputFolder());
  Show();
  EXPECT_EQ(w.cbbOutputFiletype->count(), 7);
  EXPECT_EQ(w.cbbProfile->currentText(), "Normal Quality");
  EXPECT_GT(options.cbbAudioBitrate->count(), 0);
  EXPECT_FALSE(w.chkShowOutputDirectory->isChecked());
  EXPECT_TRUE(w.chkShutdown->isChecked());
  EXPECT_EQ(w.edtOutputFolder->text(), "/srv/out");
  EXPECT_TRUE(w.edtOutputFolder->isReadOnly());
  EXPECT_GE(form.minimumWidth(), 686);
  EXPECT_GE(form.minimumHeight(), 519);
  // Showing again runs nothing twice.
  w.chkShutdown->setChecked(false);
  form.hide();
  form.show();
  EXPECT_FALSE(w.chkShutdown->isChecked());
}

TEST_F(MainWindowTest, TheOpenCommandAddsTheChosenFilesBehindThePopup) {
  Show();
  const std::string a = Wav("a.wav"), b = Wav("b.wav"), shortOne = Wav("short.wav", 900);
  dialogChoice = {a, a, shortOne, b};
  form.Widgets().btnOpenFile->click();
  EXPECT_EQ(dialogStartedIn, Paths{HomeFolder()});
  EXPECT_TRUE(popup.isVisible());
  EXPECT_EQ(popup.FileList(), (Paths{a, shortOne, b}));
  scheduler.AdvanceBy(299);
  EXPECT_EQ(Grid().RowCount(), 0);  // the popup is up before the adding starts
  scheduler.AdvanceBy(1);
  EXPECT_FALSE(popup.isVisible());
  EXPECT_FALSE(popup.Timer1Enabled());
  EXPECT_EQ(Names(), (Paths{a, b}));
  EXPECT_EQ(fileReadErrors, 1);
  EXPECT_TRUE(Grid().IsSelected(0));
  EXPECT_NE(SettingsText().find("InitDir=" + media.Folder() + "\r\n"), std::string::npos);

  // The next dialog starts where the files came from; a cancel adds nothing
  // and keeps that folder.
  dialogChoice = {};
  form.Widgets().btnOpenFile->click();
  scheduler.AdvanceBy(300);
  EXPECT_EQ(dialogStartedIn.back(), media.Folder());
  EXPECT_EQ(Grid().RowCount(), 2);
  EXPECT_FALSE(popup.isVisible());
}

TEST_F(MainWindowTest, DroppedFilesAreAddedInOrderWithoutThePopup) {
  const std::string a = Wav("x.wav"), b = Wav("y.MP3"), text = Wav("z.txt");
  Drop(Grid().viewport(), {a});
  EXPECT_EQ(Grid().RowCount(), 0) << "drops are accepted once the window has shown";
  Show();
  Drop(Grid().viewport(), {b, text, a});
  EXPECT_EQ(Grid().RowCount(), 0) << "the drop returns before the files are probed";
  scheduler.RunPending();
  EXPECT_EQ(Names(), (Paths{b, a}));
  Drop(&form, {a, Wav("w.wav")});  // anywhere on the window
  scheduler.RunPending();
  EXPECT_EQ(Names(), (Paths{b, a, media.Folder() + "w.wav"}));
  EXPECT_FALSE(popup.isVisible());
  EXPECT_FALSE(fs::exists(app.Path() / "Config/UserSettings.ini")) << "InitDir stays as it was";
}

TEST_F(MainWindowTest, DeleteRemoveAndClear) {
  Show();
  Drop(Grid().viewport(), {Wav("1.wav"), Wav("2.wav"), Wav("3.wav"), Wav("4.wav")});
  scheduler.RunPending();
  Grid().clearSelection();
  Grid().SetSelected(1, true);
  Grid().SetSelected(2, true);
  Grid().SetFocusedRow(1);
  QTest::keyClick(&Grid(), Qt::Key_Delete);
  EXPECT_EQ(Names(), (Paths{media.Folder() + "1.wav", media.Folder() + "4.wav"}));
  EXPECT_EQ(Grid().FocusedRow(), 0);
  EXPECT_TRUE(Grid().IsSelected(0));

  QTest::keyClick(&Grid(), Qt::Key_Backspace);  // other keys remove nothing
  EXPECT_EQ(Grid().RowCount(), 2);

  Grid().clearSelection();
  Grid().SetSelected(1, true);
  Grid().FinishRowDrag(true);  // dropped back on the grid: nothing happens
  EXPECT_EQ(Grid().RowCount(), 2);
  Grid().FinishRowDrag(false);  // dropped anywhere else: the rows leave
  EXPECT_EQ(Names(), Paths{media.Folder() + "1.wav"});

  form.Widgets().btnClearFile->click();
  EXPECT_EQ(Grid().RowCount(), 0);
}

struct KeyCase {
  const char* name;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  const char* button;  // the button the key presses; nullptr: none
};

class MainWindowKeyTest : public MainWindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(MainWindowKeyTest, KeyPressesItsButtonAndStillReachesTheFocusedControl) {
  const KeyCase& c = GetParam();
  Show();
  std::map<std::string, std::unique_ptr<QSignalSpy>> clicks;
  MainWindowWidgets& w = form.Widgets();
  for (QPushButton* button : {w.btnOpenFile, w.btnRemoveFile, w.btnClearFile, w.btnConvert, w.btnSelectOutputFolder,
                              w.RzBmpButton1, w.btnOptions}) {
    clicks[button->objectName().toStdString()] = std::make_unique<QSignalSpy>(button, &QPushButton::clicked);
  }
  QSignalSpy gridKeys(&Grid(), &SourceGrid::keyDown);
  QTest::keyClick(&Grid(), c.key, c.modifiers);
  scheduler.AdvanceBy(300);  // lets an opened popup finish

  for (const auto& [name, spy] : clicks) {
    EXPECT_EQ(spy->count(), c.button && name == c.button ? 1 : 0) << name;
  }
  // QTest presses the modifier keys as keys of their own first.
  int reached = 0;
  for (const auto& args : gridKeys) reached += args.at(0).toInt() == c.key ? 1 : 0;
  EXPECT_EQ(reached, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MainWindowKeyTest,
    ::testing::Values(KeyCase{"CtrlO", Qt::Key_O, Qt::ControlModifier, "btnOpenFile"},
                      KeyCase{"CtrlR", Qt::Key_R, Qt::ControlModifier, "btnRemoveFile"},
                      KeyCase{"CtrlL", Qt::Key_L, Qt::ControlModifier, "btnClearFile"},
                      KeyCase{"CtrlS", Qt::Key_S, Qt::ControlModifier, "btnConvert"},
                      KeyCase{"CtrlN", Qt::Key_N, Qt::ControlModifier, "btnConvert"},
                      KeyCase{"CtrlB", Qt::Key_B, Qt::ControlModifier, "btnSelectOutputFolder"},
                      KeyCase{"CtrlShiftO", Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier, nullptr},
                      KeyCase{"CtrlAltS", Qt::Key_S, Qt::ControlModifier | Qt::AltModifier, nullptr},
                      KeyCase{"AltR", Qt::Key_R, Qt::AltModifier, nullptr},
                      KeyCase{"PlainL", Qt::Key_L, Qt::NoModifier, nullptr},
                      KeyCase{"CtrlQ", Qt::Key_Q, Qt::ControlModifier, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, TheKeyMapWorksAfterAJobLeftNoControlWithTheFocus) {
  Show();
  form.activateWindow();
  Grid().setFocus();
  QSignalSpy opens(form.Widgets().btnOpenFile, &QPushButton::clicked);
  QSignalSpy converts(form.Widgets().btnConvert, &QPushButton::clicked);
  QTest::keyClick(&Grid(), Qt::Key_Down);  // a key the grid had before the job

  // What a job does to the window: disabled while it runs, enabled after.
  form.WindowControl().SetEnabled(false);
  EXPECT_EQ(form.focusWidget(), nullptr);
  form.WindowControl().SetEnabled(true);
  EXPECT_EQ(form.focusWidget(), &Grid()) << "the focus goes back where it was";

  // Keys that reach the window itself, as when no control has the focus.
  Grid().clearFocus();
  QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
  dialogChoice = {};
  QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
  scheduler.AdvanceBy(300);
  EXPECT_EQ(converts.count(), 1);
  EXPECT_EQ(opens.count(), 1);
}

TEST_F(MainWindowTest, AFailingHandlerIsReportedAndTheWindowGoesOn) {
  Show();
  form.dlgOpenSourceFile = [](const std::string&) -> Paths { throw std::runtime_error("The dialog failed."); };
  form.Widgets().btnOpenFile->click();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].caption, "Sonvarro Converter");
  EXPECT_EQ(desktop.messages[0].text, "The dialog failed.");
  EXPECT_EQ(desktop.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_FALSE(popup.isVisible());

  // The adding behind the popup fails as well: the settings cannot be saved.
  form.dlgOpenSourceFile = [this](const std::string&) { return Paths{Wav("after.wav")}; };
  fs::remove_all(app.Path() / "Config");
  form.Widgets().btnOpenFile->click();
  scheduler.AdvanceBy(300);
  EXPECT_EQ(Grid().RowCount(), 1);
  EXPECT_FALSE(popup.isVisible());
  ASSERT_EQ(desktop.messages.size(), 2u);
  EXPECT_NE(desktop.messages[1].text.find("Cannot create file"), std::string::npos) << desktop.messages[1].text;
}

TEST_F(MainWindowTest, TheBrowseButtonsChooseTheOutputFolder) {
  Show();
  const fs::path chosen = media.Path() / "out";
  fs::create_directory(chosen);
  pickedFolder = chosen.string();
  form.Widgets().RzBmpButton1->click();
  EXPECT_EQ(form.Widgets().edtOutputFolder->text().toStdString(), chosen.string());

  pickedFolder = (media.Path() / "missing").string();
  QTest::keyClick(&Grid(), Qt::Key_B, Qt::ControlModifier);  // the hidden button's key
  EXPECT_EQ(pickerCalls, 2);
  EXPECT_EQ(form.Widgets().edtOutputFolder->text().toStdString(), chosen.string());
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "The path is invalid.");
}

TEST_F(MainWindowTest, ClosingSavesTheSettingsAndEndsTheProgram) {
  Show();
  form.Widgets().chkShowOutputDirectory->setChecked(true);
  form.Widgets().chkShutdown->setChecked(false);
  const fs::path chosen = media.Path() / "chosen";
  fs::create_directory(chosen);
  pickedFolder = chosen.string();
  form.Widgets().RzBmpButton1->click();
  EXPECT_FALSE(fs::exists(app.Path() / "Config/UserSettings.ini")) << "nothing is saved before the close";
  form.close();
  EXPECT_EQ(SettingsText(), "\r\n[USRInfo]\r\nSHWDDir=1\r\nSHUTDOWN=0\r\nOutDir=" + chosen.string() + "\r\n");
  EXPECT_EQ(processEnds, 1);
}

TEST_F(MainWindowTest, AFailedSaveNeverKeepsTheWindowOpen) {
  Show();
  fs::remove(app.Path() / "Config");
  form.close();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(processEnds, 1);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_NE(ReadText(app.Path() / "log.txt").find("Save user settings error. ->Cannot create file"), std::string::npos);
}

TEST(InitFileForm, SpinsEverySecondWhileTheAddingRuns) {
  test::RecordingDesktop desktop;
  test::VirtualScheduler scheduler;
  TFrmInitFileForm popup(scheduler);
  EXPECT_EQ(popup.size(), QSize(273, 45));
  EXPECT_TRUE(popup.windowFlags().testFlag(Qt::FramelessWindowHint));
  std::vector<std::string> seen;
  Paths added;
  popup.AddFiles = [&](const Paths& paths) {
    added = paths;
    seen.push_back(popup.lblInfo->text().toStdString());
    for (int tick = 0; tick < 4; ++tick) {
      scheduler.AdvanceBy(1000);
      seen.push_back(popup.lblInfo->text().toStdString());
    }
    throw std::runtime_error("adding failed");
  };
  popup.SetFileList({"/a.mp3"});
  popup.show();
  EXPECT_EQ(popup.SpinnerStep(), 1);
  EXPECT_TRUE(popup.Timer1Enabled());
  QTest::keyClick(&popup, Qt::Key_Escape);
  popup.close();
  EXPECT_TRUE(popup.isVisible()) << "only the adding closes the popup";
  scheduler.AdvanceBy(300);
  ASSERT_EQ(desktop.messages.size(), 1u) << "the failure reaches the last-resort handler";
  EXPECT_EQ(desktop.messages[0].text, "adding failed");
  EXPECT_EQ(added, Paths{"/a.mp3"});
  EXPECT_EQ(seen, (std::vector<std::string>{"Installing File...", "Installing File...  /", "Installing File...  -",
                                            "Installing File...  \\", "Installing File...  |"}));
  EXPECT_FALSE(popup.isVisible()) << "closes also when the adding failed";
  EXPECT_FALSE(popup.Timer1Enabled());
}

TEST(SourceFileDialogs, ErrorInfoAndTheOpenDialogCarryTheirTexts) {
  TFrmCodeErrorForm error;
  EXPECT_EQ(error.windowTitle(), "Error Info");
  EXPECT_EQ(error.size(), QSize(413, 96));
  EXPECT_EQ(error.Label1->text().toStdString(), kFileReadErrorText);
  EXPECT_EQ(error.Label2->text(), "(Click here to down)");
  EXPECT_EQ(error.btnOK->text(), "OK");
  QSignalSpy accepted(&error, &QDialog::accepted);
  error.btnOK->click();
  EXPECT_EQ(accepted.count(), 1);

  QFileDialog dialog;
  ConfigureOpenSourceFileDialog(dialog, "/tmp/");
  const QStringList filters = dialog.nameFilters();
  ASSERT_EQ(filters.size(), 20);
  EXPECT_TRUE(filters[0].startsWith("Supported Files (*.3gp *.mp4 *.m4v"));
  EXPECT_TRUE(filters[0].endsWith("*.wma *.amr)"));
  EXPECT_EQ(filters[1], "3GP, 3G2 Files (*.3gp,*.3g2) (*.3gp)");
  EXPECT_EQ(filters[14], "MP2, MP3 Audio Files (*.mp2, mp3) (*.mp2 *.mp3)");
  EXPECT_EQ(filters[19], "AMR Audio files(*.amr) (*.amr)");
  EXPECT_TRUE(dialog.selectedNameFilter().startsWith("Supported Files"));  // shown without its patterns
  EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
  EXPECT_EQ(dialog.directory().absolutePath(), "/tmp");
}

}  // namespace
}  // namespace sonvarro
