// Start-up as the program runs it: the real companion libraries, the splash
// before the main window's lists, and the messages and the end of a start
// that cannot go on.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "RecordingDesktop.h"
#include "SilentWav.h"
#include "StartUpSeams.h"
#include "TempDir.h"
#include "app/AppRoot.h"
#include "services/Picture.h"
#include "services/ProgramVersion.h"
#include "services/platform/FileVersion.h"
#include "services/platform/Modules.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;

std::string BuiltApp(const char* name) { return std::string(std::getenv("SONVARRO_APP_DIR")) + "/" + name; }

std::string ReadString(platform::HMODULE module, unsigned id) {
  char buffer[SONVARRO_PRODUCT_TEXT_BYTES];
  platform::LoadStringA(module, id, buffer, sizeof buffer);
  return buffer;
}

TEST(CompanionLibraries, ResHoldsTheProductStringsAndASplashPictureLibjpegDecodes) {
  platform::Module res(BuiltApp("Res.dll"));
  ASSERT_TRUE(res) << res.Failure().Describe();
  EXPECT_EQ(ReadString(res.Handle(), 1), "Sonvarro Converter");
  EXPECT_EQ(ReadString(res.Handle(), 4).rfind("https://", 0), 0u);
  EXPECT_NE(ReadString(res.Handle(), 5).find('@'), std::string::npos);
  for (unsigned id : {0u, 2u, 7u}) EXPECT_FALSE(ReadString(res.Handle(), id).empty()) << id;

  platform::ResourceData stream;
  ASSERT_TRUE(platform::FindResourceA(res.Handle(), "ImgFlash", "jpeg", stream));
  const Picture picture = DecodeJpeg(stream.data, stream.size);
  EXPECT_EQ(picture.width, 480);
  EXPECT_EQ(picture.height, 300);
  // A drawn picture, not one flat colour.
  std::set<uint32_t> colours;
  for (size_t i = 0; i + 2 < picture.rgb.size(); i += 3 * 97) {
    colours.insert(picture.rgb[i] << 16 | picture.rgb[i + 1] << 8 | picture.rgb[i + 2]);
  }
  EXPECT_GT(colours.size(), 50u);
  // The same picture at twice the pixels.
  ASSERT_TRUE(platform::FindResourceA(res.Handle(), kSharpSplashResourceName, "jpeg", stream));
  const Picture sharp = DecodeJpeg(stream.data, stream.size);
  EXPECT_EQ(sharp.width, 960);
  EXPECT_EQ(sharp.height, 600);
}

TEST(CompanionLibraries, FormShowsTheAboutBoxBuiltFromTheRecord) {
  platform::Module form(BuiltApp("Form.dll"));
  ASSERT_TRUE(form) << form.Failure().Describe();
  auto show = reinterpret_cast<ShowAboutFormProc>(platform::GetProcAddress(form.Handle(), SONVARRO_SHOW_ABOUT_FORM));
  ASSERT_NE(show, nullptr);
  RecSoftInfo info{};
  info.RecordSize = sizeof info;
  std::snprintf(info.Title, sizeof info.Title, "Sonvarro Converter");
  std::snprintf(info.Version, sizeof info.Version, "1.0");
  std::snprintf(info.AboutText0, sizeof info.AboutText0, "Converts things.");
  std::snprintf(info.EMail, sizeof info.EMail, "someone@example.org");
  std::snprintf(info.AppFolder, sizeof info.AppFolder, "/opt/sonvarro/");

  QString title, texts;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) {
      ADD_FAILURE() << "no about box shown";
      return;
    }
    title = box->windowTitle();
    for (const QLabel* label : box->findChildren<QLabel*>()) texts += label->text() + "\n";
    box->close();
  });
  show(qApp, info);
  EXPECT_EQ(title, "About Sonvarro Converter");
  for (const char* expected : {"Sonvarro Converter 1.0", "Converts things.", "someone@example.org", "/opt/sonvarro/"}) {
    EXPECT_TRUE(texts.contains(expected)) << expected << " in " << texts.toStdString();
  }

  // A record of another layout shows nothing and returns at once.
  info.RecordSize = 12;
  show(qApp, info);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(ProgramVersion, TheProgramCarriesTheProjectsVersionAsFourNumbers) {
  const std::string program = BuiltApp("SonvarroConverter");
  EXPECT_EQ(platform::FileVersionOf(program).ValueOr({}), SONVARRO_FILE_VERSION);
  const std::string expected = VersionText(SONVARRO_FILE_VERSION);
  EXPECT_EQ(std::count(expected.begin(), expected.end(), '.'), 1) << expected;
  EXPECT_EQ(GetVersionText(program), expected);
}

// The program's root on a temporary application folder, its splash waiting
// in virtual time.
class StartUpWindowTest : public ::testing::Test {
 protected:
  StartUpWindowTest() {
    fs::create_directory(app.Path() / "Config");
    test::CopyCompanionLibraries(app.Folder());
  }
  void MakeRoot(std::function<void()> whileSplashIsUp = {}) {
    AppSeams seams = test::VirtualTimeSeams(app.Folder(), scheduler, desktop, dialogs);
    seams.modalLoop = [this, whileSplashIsUp](const std::function<bool()>& stillOpen) {
      ++splashShows;
      if (whileSplashIsUp) whileSplashIsUp();
      test::WaitInVirtualTime(scheduler)(stillOpen);
    };
    root = std::make_unique<AppRoot>(std::move(seams));
  }
  MainWindowWidgets& Widgets() { return root->MainWindowSkin().Widgets(); }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : desktop.messages) texts.push_back(message.text);
    return texts;
  }

  test::TempDir app, media;
  test::RecordingDesktop desktop;
  test::VirtualScheduler scheduler;
  test::ScriptedDialogs dialogs;
  std::unique_ptr<AppRoot> root;
  int splashShows = 0;
};

TEST_F(StartUpWindowTest, TheSplashComesFirstThenTheListsThenTheDrops) {
  const std::string wav = test::WriteSilentWav(media.Folder() + "early.wav", 1500);
  struct {
    int types = -1;
    bool dropsAccepted = true;
    bool splashVisible = false;
    QSize splashSize;
  } during;
  MakeRoot([&] {
    during.types = Widgets().cbbOutputFiletype->count();
    during.dropsAccepted = root->MainWindowBehaviour().DropsAccepted();
    if (QWidget* splash = QApplication::activeModalWidget()) {
      during.splashVisible = splash->isVisible() && splash->objectName() == "TFrmFlashForm";
      during.splashSize = splash->size();
    }
    root->MainWindowBehaviour().WMDropFiles({wav});  // too early: ignored
  });
  const int64_t started = scheduler.Now();
  root->Show();

  EXPECT_EQ(splashShows, 1);
  EXPECT_TRUE(during.splashVisible);
  EXPECT_EQ(during.splashSize, QSize(480, 300)) << "the window is exactly its picture";
  EXPECT_EQ(during.types, 0) << "the lists are filled after the splash";
  EXPECT_FALSE(during.dropsAccepted);
  EXPECT_GE(scheduler.Now() - started, 2000);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the splash has closed";

  EXPECT_EQ(Widgets().cbbOutputFiletype->count(), 7);
  EXPECT_TRUE(root->MainWindowBehaviour().DropsAccepted());
  scheduler.RunPending();
  EXPECT_EQ(Widgets().dxTreeSourceFileInfo->RowCount(), 0);
  // This test program carries file version 1.8.0.0.
  EXPECT_EQ(root->MainWindowSkin().windowTitle(), "Sonvarro Converter 1.8");
  EXPECT_EQ(Widgets().lblTitle->text(), "Sonvarro Converter 1.8");
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_FALSE(root->TerminationRequested());
}

TEST_F(StartUpWindowTest, WithoutItsPictureTheProgramSaysWhatIsMissingAndEnds) {
  struct Row {
    const char* name;
    std::string res;  // the fixture Res.dll laid in; "" none at all
    std::string message;
  };
  const Row rows[] = {
      {"no Res.dll", "", "'Res.dll' is not found. Please reinstall this program."},
      {"no picture", "res_no_picture", "'Res.dll' holds no splash picture"},
      {"no JPEG", "res_bad_picture", "The splash picture in 'Res.dll' is not a valid JPEG picture"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    desktop.messages.clear();
    splashShows = 0;
    fs::remove(app.Path() / "Res.dll");
    if (!row.res.empty())
      fs::copy_file(std::string(SONVARRO_FIXTURE_DIR) + "/" + row.res + "/Res.dll", app.Path() / "Res.dll");
    MakeRoot();
    EXPECT_EQ(root->Run(), 1) << "the program ends at once, before its event loop";
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text.rfind(row.message, 0), 0u) << desktop.messages[0].text;
    EXPECT_EQ(desktop.messages[0].caption, "Sonvarro Converter");
    EXPECT_EQ(splashShows, 0);
    EXPECT_EQ(Widgets().cbbOutputFiletype->count(), 0) << "nothing after the splash ran";
    EXPECT_FALSE(root->MainWindowBehaviour().DropsAccepted());
    EXPECT_EQ(root->MainWindowSkin().windowTitle(), "Sonvarro Converter");
    root.reset();
  }
}

TEST_F(StartUpWindowTest, MissingCompanionsAreToldInOrderAndTheProgramEnds) {
  fs::remove(app.Path() / "Form.dll");
  fs::remove(app.Path() / "Lib.dll");
  MakeRoot();
  EXPECT_EQ(root->Run(), 1);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"'Form.dll' is not found. Please reinstall this program.",
                                                      "'Lib.dll' is not found. Please reinstall this program."}));
  EXPECT_EQ(splashShows, 1);
  EXPECT_EQ(Widgets().cbbOutputFiletype->count(), 7) << "the show handler finishes before the end";
}

}  // namespace
}  // namespace sonvarro
