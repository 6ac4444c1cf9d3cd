// The main window's frame: its own window buttons, the links, help, the
// about box, the memory timer and the order of closing.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "RecordingDesktop.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "WatchedGraph.h"
#include "app/AppRoot.h"
#include "ui/CodeErrorDialog.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class MainWindowFrameTest : public ::testing::Test {
 protected:
  MainWindowFrameTest() {
    fs::create_directory(app.Path() / "Config");
    test::CopyCompanionLibraries(app.Folder());
  }
  // Lays a fixture library under the given name before the program starts.
  void Lay(const std::string& fixture, const std::string& name) {
    fs::copy_file(std::string(SONVARRO_FIXTURE_DIR) + "/" + fixture + "/" + name, app.Path() / name,
                  fs::copy_options::overwrite_existing);
  }
  AppSeams Seams() {
    AppSeams seams = test::VirtualTimeSeams(app.Folder(), scheduler, desktop, dialogs);
    seams.quitApplication = [this] {
      ++processEnds;
      if (onEnd) onEnd();
    };
    seams.wrapPreviewGraph = test::WatchedGraph::Into(preview);
    return seams;
  }
  testing::AssertionResult Start() {
    root = std::make_unique<AppRoot>(Seams());
    root->Show();
    if (!root->TerminationRequested()) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the start-up asked the program to end";
  }
  MainWindow& Window() { return root->MainWindowSkin(); }
  MainWindowWidgets& Widgets() { return Window().Widgets(); }
  const RecSoftInfo& Info() { return root->StartUpSequence().SoftInfo(); }

  test::TempDir app;
  test::RecordingDesktop desktop;
  test::VirtualScheduler scheduler;
  test::ScriptedDialogs dialogs;
  test::WatchedGraph* preview = nullptr;
  std::function<void()> onEnd;
  std::unique_ptr<AppRoot> root;
  int processEnds = 0;
};

TEST_F(MainWindowFrameTest, LinksAndHelpGoToTheDesktopsHandlers) {
  ASSERT_TRUE(Start());
  Widgets().btnHomePage->click();
  Widgets().btnEMail->click();
  Widgets().btnHelp->click();
  EXPECT_EQ(desktop.shellOpened, (Texts{"https://www.quorvanesoft.example/sonvarro/",
                                        "mailto:support@quorvanesoft.example", app.Folder() + "Help.chm"}));
  EXPECT_TRUE(desktop.browserOpened.empty());

  // The codec page: the main window's link and the file-read error's.
  QTest::mouseClick(Widgets().Label3, Qt::LeftButton);
  QTimer::singleShot(0, [] {
    auto* error = qobject_cast<CodeErrorDialog*>(QApplication::activeModalWidget());
    if (!error) {
      ADD_FAILURE() << "no Error Info shown";
      return;
    }
    QTest::mouseClick(error->Label2, Qt::LeftButton);
    error->close();
  });
  root->ErrorInfoBehaviour().ShowFor("/media/clip.mp4");
  EXPECT_EQ(desktop.browserOpened, (Texts{kCodecDownloadPage, kCodecDownloadPage}));
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MainWindowFrameTest, EachUnreadableFileGetsAnErrorInfoNamingIt) {
  ASSERT_TRUE(Start());
  const std::string first = app.WriteFile("broken one.ogg", "not media");
  const std::string second = app.WriteFile("broken two.mp4", "not media either");
  struct Shown {
    QString name, tip, message;
  };
  std::vector<Shown> shown;
  // Each dialog is modal: whatever comes up is read and closed, so the
  // adding goes on to the next file.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* error = qobject_cast<CodeErrorDialog*>(QApplication::activeModalWidget())) {
      shown.push_back({error->lblFileName->text(), error->lblFileName->toolTip(), error->Label1->text()});
      error->accept();
    }
  });
  closer.start(0);
  root->MainWindowBehaviour().WMDropFiles({first, second});
  scheduler.RunPending();
  closer.stop();

  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].name, "broken one.ogg");
  EXPECT_EQ(shown[0].tip.toStdString(), first);
  EXPECT_EQ(shown[1].name, "broken two.mp4");
  EXPECT_EQ(shown[1].tip.toStdString(), second);
  for (const Shown& each : shown) EXPECT_EQ(each.message.toStdString(), kFileReadErrorText);
  EXPECT_EQ(Widgets().dxTreeSourceFileInfo->RowCount(), 0);
}

TEST_F(MainWindowFrameTest, F1OpensTheHelpWhateverElseIsHeld) {
  ASSERT_TRUE(Start());
  QWidget* grid = Widgets().dxTreeSourceFileInfo;
  grid->setFocus();
  for (Qt::KeyboardModifiers held :
       {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
        Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier)}) {
    QTest::keyClick(grid, Qt::Key_F1, held);
  }
  EXPECT_EQ(desktop.shellOpened, Texts(4, app.Folder() + "Help.chm"));
}

TEST_F(MainWindowFrameTest, WithoutAProgramForTheHelpFileTheBrowserShowsItsPages) {
  desktop.unhandledTypes = {".chm"};
  ASSERT_TRUE(Start());
  // No pages beside the help file: the desktop still gets the file, and says
  // itself that it has nothing to open it with.
  Widgets().btnHelp->click();
  fs::create_directory(app.Path() / "Help");
  std::ofstream(app.Path() / "Help" / "index.htm") << "<html></html>";
  Widgets().btnHelp->click();
  EXPECT_EQ(desktop.shellOpened, (Texts{app.Folder() + "Help.chm", app.Folder() + "Help/index.htm"}));
}

TEST_F(MainWindowFrameTest, WithoutAnAddressTheMailCommandOpensMailtoAlone) {
  Lay("res_no_email", "Res.dll");
  ASSERT_TRUE(Start());
  Widgets().btnEMail->click();
  EXPECT_EQ(desktop.shellOpened, Texts{"mailto:"});
}

TEST_F(MainWindowFrameTest, TheAboutBoxIsFormDllsCalledWithTheApplicationAndTheRecord) {
  Lay("form_recording", "Form.dll");
  // Held open here, so what the program handed over is still there to read
  // after it has freed the library.
  void* form = dlopen((app.Folder() + "Form.dll").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(form, nullptr) << dlerror();
  auto calls = reinterpret_cast<int (*)()>(dlsym(form, "FixtureAboutCalls"));
  auto application = reinterpret_cast<void* (*)()>(dlsym(form, "FixtureAboutApplication"));
  auto info = reinterpret_cast<const RecSoftInfo* (*)()>(dlsym(form, "FixtureAboutInfo"));
  ASSERT_TRUE(calls && application && info);

  ASSERT_TRUE(Start());
  Widgets().btnAbout->click();
  ASSERT_EQ(calls(), 1);
  EXPECT_EQ(application(), static_cast<void*>(qApp));
  EXPECT_EQ(info()->RecordSize, sizeof(RecSoftInfo));
  EXPECT_STREQ(info()->Title, "Sonvarro Converter");
  EXPECT_STREQ(info()->Version, "1.8");
  EXPECT_STREQ(info()->HomePage, Info().HomePage);
  EXPECT_STREQ(info()->AboutText7, Info().AboutText7);
  EXPECT_EQ(info()->AppFolder, app.Folder());
  dlclose(form);

  // A Form.dll without the export, or none at all: nothing happens.
  Lay("res_good", "Res.dll");
  fs::copy_file(app.Path() / "Lib.dll", app.Path() / "Form.dll", fs::copy_options::overwrite_existing);
  Widgets().btnAbout->click();
  fs::remove(app.Path() / "Form.dll");
  Widgets().btnAbout->click();
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MainWindowFrameTest, TheMemoryTimerTicksEverySecondFromTheWindowsCreation) {
  root = std::make_unique<AppRoot>(Seams());
  EXPECT_TRUE(root->MainWindowBehaviour().ClearMemoryTimerEnabled()) << "before the window is shown";
  const int before = desktop.pendingEventRuns;
  scheduler.AdvanceBy(3000);
  EXPECT_EQ(desktop.pendingEventRuns - before, 3) << "ClearMemory lets the user interface run after its trim";
}

TEST_F(MainWindowFrameTest, ItsOwnButtonsMinimiseAndClose) {
  ASSERT_TRUE(Start());
  Widgets().btnWindowMinimize->click();
  EXPECT_TRUE(Window().windowState().testFlag(Qt::WindowMinimized));
  EXPECT_EQ(processEnds, 0);
  Widgets().btnWindowClose->click();
  EXPECT_EQ(processEnds, 1);
  EXPECT_TRUE(fs::exists(app.Path() / "Config/UserSettings.ini"));
}

TEST_F(MainWindowFrameTest, ClosingReleasesThePreviewBeforeTheSettingsAreSaved) {
  ASSERT_TRUE(Start());
  std::vector<std::string> steps;
  const fs::path settings = app.Path() / "Config/UserSettings.ini";
  preview->beforeRelease = [&] { steps.push_back(fs::exists(settings) ? "released after saving" : "released"); };
  onEnd = [&] { steps.push_back(fs::exists(settings) ? "ended after saving" : "ended"); };
  Window().close();
  EXPECT_EQ(steps, (Texts{"released", "ended after saving"}));

  // A failing release neither keeps the settings from being saved nor the
  // program from ending.
  fs::remove(settings);
  steps.clear();
  preview->beforeRelease = [] { throw std::runtime_error("The graph would not stop."); };
  root->MainWindowBehaviour().FormClose();
  EXPECT_EQ(steps, Texts{"ended after saving"});
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "The graph would not stop.");
}

}  // namespace
}  // namespace sonvarro
