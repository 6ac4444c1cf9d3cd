#include <gtest/gtest.h>

#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "RecordingDesktop.h"
#include "SilentWav.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "VirtualScheduler.h"
#include "app/AppRoot.h"
#include "engine/ConversionJob.h"
#include "settings/DefaultFolders.h"
#include "ui/CodeErrorDialog.h"
#include "ui/InitFileDialog.h"
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
    test::CopyCompanionLibraries(app.Folder());
    dialogs.openSourceFiles = [this](const std::string& initialDir) {
      dialogStartedIn.push_back(initialDir);
      return dialogChoice;
    };
    dialogs.pickOutputFolder = [this] { return pickedFolder; };
    // The user answers each "Error Info" with OK.
    QObject::connect(&errorInfoAnswer, &QTimer::timeout, [this] {
      if (QApplication::activeModalWidget() != &root.ErrorInfoSkin()) return;
      ++fileReadErrors;
      root.ErrorInfoSkin().btnOK->click();
    });
    errorInfoAnswer.start(10);
  }
  AppSeams Seams() {
    AppSeams seams = test::VirtualTimeSeams(app.Folder(), scheduler, desktop, dialogs);
    seams.quitApplication = [this] { ++processEnds; };
    return seams;
  }

  testing::AssertionResult Show() {
    window.show();
    if (QTest::qWaitForWindowExposed(&window)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the main window was not exposed";
  }
  std::string Wav(const std::string& name, int ms = 1500) { return test::WriteSilentWav(media.Folder() + name, ms); }
  SourceGrid& Grid() { return *window.Widgets().dxTreeSourceFileInfo; }
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
  test::ScriptedDialogs dialogs;
  Paths dialogChoice;
  Paths dialogStartedIn;
  std::optional<std::string> pickedFolder;
  int fileReadErrors = 0, processEnds = 0;
  AppRoot root{Seams()};
  MainWindow& window = root.MainWindowSkin();
  TFrmMainForm& form = root.MainWindowBehaviour();
  OptionsDialog& options = root.OptionsDialogSkin();
  InitFileDialog& popup = root.AddFilesPopupSkin();
  QTimer errorInfoAnswer;
};

TEST_F(MainWindowTest, FirstShowFillsTheListsAndLoadsTheSettings) {
  std::ofstream(app.Path() / "Config/UserSettings.ini")
      << "\r\n[USRInfo]\r\nSHWDDir=0\r\nSHUTDOWN=1\r\nOutDir=/srv/out\r\nOutType=2\r\nProfile=Superb Quality\r\n";
  MainWindowWidgets& w = window.Widgets();
  EXPECT_TRUE(w.chkShowOutputDirectory->isChecked());  // design state until the settings load
  EXPECT_EQ(w.edtOutputFolder->text().toStdString(), DefaultOutputFolder());
  ASSERT_TRUE(Show());
  EXPECT_EQ(w.cbbOutputFiletype->count(), 7);
  // The output type and profile of the last run, applied.
  EXPECT_EQ(w.cbbOutputFiletype->currentIndex(), 2);
  EXPECT_EQ(w.cbbProfile->currentText(), "Superb Quality");
  EXPECT_EQ(options.cbbAudioBitrate->currentText(), "224");
  EXPECT_GT(options.cbbAudioBitrate->count(), 0);
  EXPECT_FALSE(w.chkShowOutputDirectory->isChecked());
  EXPECT_TRUE(w.chkShutdown->isChecked());
  EXPECT_EQ(w.edtOutputFolder->text(), "/srv/out");
  EXPECT_TRUE(w.edtOutputFolder->isReadOnly());
  EXPECT_GE(window.minimumWidth(), 686);
  EXPECT_GE(window.minimumHeight(), 519);
  // Showing again runs nothing twice.
  w.chkShutdown->setChecked(false);
  window.hide();
  window.show();
  EXPECT_FALSE(w.chkShutdown->isChecked());
}

TEST_F(MainWindowTest, TheOpenCommandAddsTheChosenFilesBehindThePopup) {
  ASSERT_TRUE(Show());
  const std::string a = Wav("a.wav"), b = Wav("b.wav"), shortOne = Wav("short.wav", 900);
  dialogChoice = {a, a, shortOne, b};
  window.Widgets().btnOpenFile->click();
  EXPECT_EQ(dialogStartedIn, Paths{HomeFolder()});
  EXPECT_TRUE(popup.isVisible());
  EXPECT_EQ(root.AddFilesPopupBehaviour().FileList(), (Paths{a, shortOne, b}));
  scheduler.AdvanceBy(299);
  EXPECT_EQ(Grid().RowCount(), 0);  // the popup is up before the adding starts
  scheduler.AdvanceBy(1);
  EXPECT_FALSE(popup.isVisible());
  EXPECT_FALSE(root.AddFilesPopupBehaviour().Timer1Enabled());
  EXPECT_EQ(Names(), (Paths{a, b}));
  EXPECT_EQ(fileReadErrors, 1);
  EXPECT_TRUE(Grid().IsSelected(0));
  EXPECT_NE(SettingsText().find("InitDir=" + media.Folder() + "\r\n"), std::string::npos);

  // The next dialog starts where the files came from; a cancel adds nothing
  // and keeps that folder.
  dialogChoice = {};
  window.Widgets().btnOpenFile->click();
  scheduler.AdvanceBy(300);
  EXPECT_EQ(dialogStartedIn.back(), media.Folder());
  EXPECT_EQ(Grid().RowCount(), 2);
  EXPECT_FALSE(popup.isVisible());
}

TEST_F(MainWindowTest, DroppedFilesAreAddedInOrderWithoutThePopup) {
  const std::string a = Wav("x.wav"), b = Wav("y.MP3"), text = Wav("z.txt");
  Drop(Grid().viewport(), {a});
  EXPECT_EQ(Grid().RowCount(), 0) << "drops are accepted once the window has shown";
  ASSERT_TRUE(Show());
  Drop(Grid().viewport(), {b, text, a});
  EXPECT_EQ(Grid().RowCount(), 0) << "the drop returns before the files are probed";
  scheduler.RunPending();
  EXPECT_EQ(Names(), (Paths{b, a}));
  Drop(&window, {a, Wav("w.wav")});  // anywhere on the window
  scheduler.RunPending();
  EXPECT_EQ(Names(), (Paths{b, a, media.Folder() + "w.wav"}));
  EXPECT_FALSE(popup.isVisible());
  EXPECT_FALSE(fs::exists(app.Path() / "Config/UserSettings.ini")) << "InitDir stays as it was";
}

TEST_F(MainWindowTest, DeleteRemoveAndClear) {
  ASSERT_TRUE(Show());
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

  window.Widgets().btnClearFile->click();
  EXPECT_EQ(Grid().RowCount(), 0);
}

// What a key may set off, seen from outside.
enum class Effect { None, OpenDialog, RemoveRow, ClearRows, Convert, PickFolder };

struct KeyCase {
  const char* name;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  Effect effect;
};

class MainWindowKeyTest : public MainWindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(MainWindowKeyTest, KeyRunsItsCommandAndStillReachesTheFocusedControl) {
  const KeyCase& c = GetParam();
  ASSERT_TRUE(Show());
  // Two unchecked rows, the second selected: a Convert then only says that
  // no file is checked, a remove takes one row.
  Drop(Grid().viewport(), {Wav("1.wav"), Wav("2.wav")});
  scheduler.RunPending();
  for (int row = 0; row < 2; ++row) Grid().SetCell(row, kColCheck, kUncheckedText);
  Grid().clearSelection();
  Grid().SetSelected(1, true);
  window.Widgets().chkShowOutputDirectory->setChecked(true);
  Grid().setFocus();
  QSignalSpy gridKeys(&Grid(), &SourceGrid::keyDown);
  QTest::keyClick(&Grid(), c.key, c.modifiers);
  scheduler.AdvanceBy(300);  // lets an opened popup finish

  EXPECT_EQ(dialogStartedIn.size(), c.effect == Effect::OpenDialog ? 1u : 0u);
  const int rows = c.effect == Effect::RemoveRow ? 1 : c.effect == Effect::ClearRows ? 0 : 2;
  EXPECT_EQ(Grid().RowCount(), rows);
  EXPECT_TRUE(desktop.openedFolders.empty());
  ASSERT_EQ(desktop.messages.size(), c.effect == Effect::Convert ? 1u : 0u);
  if (c.effect == Effect::Convert) {
    EXPECT_EQ(desktop.messages[0].text, kNothingCheckedWarning);
  }
  EXPECT_EQ(dialogs.folderPickers, c.effect == Effect::PickFolder ? 1 : 0);
  // QTest presses the modifier keys as keys of their own first.
  int reached = 0;
  for (const auto& args : gridKeys) reached += args.at(0).toInt() == c.key ? 1 : 0;
  EXPECT_EQ(reached, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MainWindowKeyTest,
    ::testing::Values(KeyCase{"CtrlO", Qt::Key_O, Qt::ControlModifier, Effect::OpenDialog},
                      KeyCase{"CtrlR", Qt::Key_R, Qt::ControlModifier, Effect::RemoveRow},
                      KeyCase{"CtrlL", Qt::Key_L, Qt::ControlModifier, Effect::ClearRows},
                      KeyCase{"CtrlS", Qt::Key_S, Qt::ControlModifier, Effect::Convert},
                      KeyCase{"CtrlN", Qt::Key_N, Qt::ControlModifier, Effect::Convert},
                      KeyCase{"CtrlB", Qt::Key_B, Qt::ControlModifier, Effect::PickFolder},
                      KeyCase{"CtrlShiftO", Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier, Effect::None},
                      KeyCase{"CtrlAltS", Qt::Key_S, Qt::ControlModifier | Qt::AltModifier, Effect::None},
                      KeyCase{"AltR", Qt::Key_R, Qt::AltModifier, Effect::None},
                      KeyCase{"PlainL", Qt::Key_L, Qt::NoModifier, Effect::None},
                      KeyCase{"CtrlQ", Qt::Key_Q, Qt::ControlModifier, Effect::None}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, TheKeyMapWorksAfterAJobLeftNoControlWithTheFocus) {
  ASSERT_TRUE(Show());
  window.activateWindow();
  Grid().setFocus();
  QTest::keyClick(&Grid(), Qt::Key_Down);  // a key the grid had before the job

  // What a job does to the window: disabled while it runs, enabled after.
  window.WindowControl().SetEnabled(false);
  EXPECT_EQ(window.focusWidget(), nullptr);
  window.WindowControl().SetEnabled(true);
  EXPECT_EQ(window.focusWidget(), &Grid()) << "the focus goes back where it was";

  // Keys that reach the window itself, as when no control has the focus.
  Grid().clearFocus();
  QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
  dialogChoice = {};
  QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
  scheduler.AdvanceBy(300);
  ASSERT_EQ(desktop.messages.size(), 1u) << "Ctrl+S converts: the list is empty";
  EXPECT_EQ(desktop.messages[0].text, "Please add media files you want to convert into the list.");
  EXPECT_EQ(dialogStartedIn.size(), 1u) << "Ctrl+O opens the dialog";
}

TEST_F(MainWindowTest, AFailingHandlerIsReportedAndTheWindowGoesOn) {
  ASSERT_TRUE(Show());
  dialogs.openSourceFiles = [](const std::string&) -> Paths { throw std::runtime_error("The dialog failed."); };
  window.Widgets().btnOpenFile->click();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].caption, "Sonvarro Converter");
  EXPECT_EQ(desktop.messages[0].text, "The dialog failed.");
  EXPECT_EQ(desktop.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_FALSE(popup.isVisible());

  // The adding behind the popup fails as well: the settings cannot be saved.
  dialogs.openSourceFiles = [this](const std::string&) { return Paths{Wav("after.wav")}; };
  fs::remove_all(app.Path() / "Config");
  window.Widgets().btnOpenFile->click();
  scheduler.AdvanceBy(300);
  EXPECT_EQ(Grid().RowCount(), 1);
  EXPECT_FALSE(popup.isVisible());
  ASSERT_EQ(desktop.messages.size(), 2u);
  EXPECT_NE(desktop.messages[1].text.find("Cannot create file"), std::string::npos) << desktop.messages[1].text;
}

TEST_F(MainWindowTest, TheBrowseButtonsChooseTheOutputFolder) {
  ASSERT_TRUE(Show());
  const fs::path chosen = media.Path() / "out";
  fs::create_directory(chosen);
  pickedFolder = chosen.string();
  window.Widgets().RzBmpButton1->click();
  EXPECT_EQ(window.Widgets().edtOutputFolder->text().toStdString(), chosen.string());

  pickedFolder = (media.Path() / "missing").string();
  QTest::keyClick(&Grid(), Qt::Key_B, Qt::ControlModifier);  // the hidden button's key
  EXPECT_EQ(dialogs.folderPickers, 2);
  EXPECT_EQ(window.Widgets().edtOutputFolder->text().toStdString(), chosen.string());
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "The path is invalid.");
}

TEST_F(MainWindowTest, ClosingSavesTheSettingsAndEndsTheProgram) {
  ASSERT_TRUE(Show());
  window.Widgets().chkShowOutputDirectory->setChecked(true);
  window.Widgets().chkShutdown->setChecked(false);
  const fs::path chosen = media.Path() / "chosen";
  fs::create_directory(chosen);
  pickedFolder = chosen.string();
  window.Widgets().RzBmpButton1->click();
  QComboBox* type = window.Widgets().cbbOutputFiletype;
  type->setCurrentIndex(6);
  emit type->activated(6);
  EXPECT_FALSE(fs::exists(app.Path() / "Config/UserSettings.ini")) << "nothing is saved before the close";
  window.close();
  EXPECT_EQ(SettingsText(), "\r\n[USRInfo]\r\nSHWDDir=1\r\nSHUTDOWN=0\r\nOutDir=" + chosen.string() +
                                "\r\nOutType=6\r\nProfile=Normal Quality\r\n");
  EXPECT_EQ(processEnds, 1);
}

TEST_F(MainWindowTest, AFailedSaveNeverKeepsTheWindowOpen) {
  ASSERT_TRUE(Show());
  fs::remove(app.Path() / "Config");
  window.close();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(processEnds, 1);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_NE(ReadText(app.Path() / "log.txt").find("Save user settings error. ->Cannot create file"), std::string::npos);
}

TEST(InitFileDialog, IsABorderlessBoxTheUserCannotClose) {
  test::VirtualScheduler scheduler;
  InitFileDialog dialog;
  QString shownWhileAdding;
  test::RecordingDesktop desktop;
  TFrmInitFileForm popup(
      dialog.Controls(), scheduler, desktop,
      [&](const Paths&) {
        scheduler.AdvanceBy(1000);
        shownWhileAdding = dialog.lblInfo->text();
      },
      [] {});
  EXPECT_EQ(dialog.size(), QSize(273, 45));
  EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(dialog.lblInfo->text(), "Installing File...");
  popup.Show();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.isModal());
  QTest::keyClick(&dialog, Qt::Key_Escape);
  dialog.close();
  EXPECT_TRUE(dialog.isVisible()) << "only the adding closes the popup";
  scheduler.AdvanceBy(300);
  EXPECT_EQ(shownWhileAdding, "Installing File...  /");
  EXPECT_FALSE(dialog.isVisible());
}

TEST(SourceFileDialogs, ErrorInfoAndTheOpenDialogCarryTheirTexts) {
  test::RecordingDesktop desktop;
  CodeErrorDialog error;
  TFrmCodeErrorForm behaviour(error.Controls(), desktop);
  error.Bind(behaviour.Events());
  EXPECT_EQ(error.windowTitle(), "Error Info");
  EXPECT_EQ(error.size(), QSize(413, 116));
  EXPECT_EQ(error.Label1->text().toStdString(), kFileReadErrorText);
  EXPECT_EQ(error.Label2->text(), "(Click here to down)");
  EXPECT_EQ(error.btnOK->text(), "OK");
  QSignalSpy accepted(&error, &QDialog::accepted);
  error.btnOK->click();
  EXPECT_EQ(accepted.count(), 1);

  EXPECT_TRUE(error.lblFileName->text().isEmpty());

  QFileDialog dialog;
  ConfigureOpenSourceFileDialog(dialog, "/tmp/");
  const QStringList filters = dialog.nameFilters();
  ASSERT_EQ(filters.size(), 28);
  EXPECT_TRUE(filters[0].startsWith("Supported Files (*.3gp *.mp4 *.m4v"));
  EXPECT_TRUE(filters[0].contains("*.wma *.amr *.flac *.opus"));
  EXPECT_TRUE(filters[0].endsWith("*.ts *.m2ts)"));
  EXPECT_EQ(filters[1], "3GP, 3G2 Files (*.3gp,*.3g2) (*.3gp *.3g2)");
  EXPECT_EQ(filters[17], "MP2, MP3 Audio Files (*.mp2, mp3) (*.mp2 *.mp3)");
  EXPECT_EQ(filters[20], "FLAC Audio Files (*.flac) (*.flac)");
  EXPECT_EQ(filters[27], "AMR Audio files(*.amr) (*.amr)");
  EXPECT_TRUE(dialog.selectedNameFilter().startsWith("Supported Files"));  // shown without its patterns
  EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
  EXPECT_EQ(dialog.directory().absolutePath(), "/tmp");
}

TEST(SourceFileDialogs, ErrorInfoNamesTheFileAndCutsALongNameInTheMiddle) {
  CodeErrorDialog error;
  const QString folder = QStringLiteral("/home/user/a folder that is itself rather long/");
  const auto name = [&error](const QString& path) {
    error.Controls().lblFileName.SetText(QFileInfo(path).fileName().toStdString());
    error.Controls().fileHint.SetText(path.toStdString());
  };
  name(folder + "clip.mp4");
  EXPECT_EQ(error.lblFileName->text(), "clip.mp4");
  EXPECT_EQ(error.lblFileName->toolTip(), folder + "clip.mp4");

  const QString longName = QStringLiteral("Start of a recording ") + QString(200, QChar('x')) + " its end.m2ts";
  name(folder + longName);
  const QString shown = error.lblFileName->text();
  EXPECT_TRUE(shown.startsWith("Start of a")) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith("its end.m2ts")) << shown.toStdString();
  EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
  EXPECT_LE(error.lblFileName->fontMetrics().horizontalAdvance(shown), error.lblFileName->width());
  EXPECT_GE(error.lblFileName->geometry().right(), error.Label1->geometry().right()) << "the name has the full line";
  EXPECT_EQ(error.lblFileName->toolTip(), folder + longName);
  EXPECT_EQ(error.Label1->text().toStdString(), kFileReadErrorText);
}

}  // namespace
}  // namespace sonvarro
