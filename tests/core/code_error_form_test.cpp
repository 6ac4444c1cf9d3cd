#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeControls.h"
#include "RecordingDesktop.h"
#include "sourcelist/CodeErrorForm.h"

namespace sonvarro {
namespace {

using Texts = std::vector<std::string>;

class CodeErrorFormTest : public ::testing::Test {
 protected:
  test::RecordingDesktop desktop;
  test::FakeModalWindow window;
  test::FakeTextField name, hint;
  TFrmCodeErrorForm form{{window, name, hint}, desktop};
  CodeErrorFormEvents events = form.Events();
};

TEST_F(CodeErrorFormTest, NamesTheFileBeforeItShowsAndOkClosesIt) {
  Texts shown;
  window.whileShown = [&] {
    shown = {name.text, hint.text};
    events.btnOKClick();
  };
  form.ShowFor("/media/a folder/broken one.ogg");
  EXPECT_EQ(window.shows, 1);
  EXPECT_EQ(shown, (Texts{"broken one.ogg", "/media/a folder/broken one.ogg"}));
  EXPECT_FALSE(window.open);

  // Each unreadable file gets a window naming it alone.
  form.ShowFor("clip.mp4");
  EXPECT_EQ(window.shows, 2);
  EXPECT_EQ(shown, (Texts{"clip.mp4", "clip.mp4"}));
  EXPECT_TRUE(desktop.browserOpened.empty());
}

TEST_F(CodeErrorFormTest, TheLinkOpensTheCodecPageAndLeavesTheWindowOpen) {
  window.whileShown = [&] {
    events.Label2Click();
    EXPECT_TRUE(window.open);
    events.btnOKClick();
  };
  form.ShowFor("/media/broken.mp4");
  EXPECT_EQ(desktop.browserOpened, Texts{kCodecDownloadPage});
  EXPECT_TRUE(desktop.shellOpened.empty());
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace sonvarro
