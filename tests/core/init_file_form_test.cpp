#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "FakeControls.h"
#include "RecordingDesktop.h"
#include "VirtualScheduler.h"
#include "sourcelist/InitFileForm.h"

namespace sonvarro {
namespace {

using Paths = std::vector<std::string>;

TEST(InitFileForm, SpinsEverySecondWhileTheAddingRunsAndClosesAfterIt) {
  test::RecordingDesktop desktop;
  test::VirtualScheduler scheduler;
  test::FakeWindow window;
  test::FakeTextField lblInfo;
  lblInfo.text = TFrmInitFileForm::kDesignCaption;
  int closed = 0;
  std::vector<std::string> seen;
  Paths added;
  const auto addFiles = [&](const Paths& paths) {
    added = paths;
    seen.push_back(lblInfo.text);
    for (int tick = 0; tick < 4; ++tick) {
      scheduler.AdvanceBy(1000);
      seen.push_back(lblInfo.text);
    }
    throw std::runtime_error("adding failed");
  };
  TFrmInitFileForm popup({window, lblInfo}, scheduler, desktop, addFiles, [&] { ++closed; });
  popup.SetFileList({"/a.mp3"});
  popup.Show();
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(popup.SpinnerStep(), 1);
  EXPECT_TRUE(popup.Timer1Enabled());
  EXPECT_TRUE(popup.Timer2Enabled());
  scheduler.AdvanceBy(299);
  EXPECT_TRUE(added.empty()) << "the popup is up before the adding starts";
  scheduler.AdvanceBy(1);

  EXPECT_EQ(added, Paths{"/a.mp3"});
  EXPECT_EQ(seen, (std::vector<std::string>{"Installing File...", "Installing File...  /", "Installing File...  -",
                                            "Installing File...  \\", "Installing File...  |"}));
  ASSERT_EQ(desktop.messages.size(), 1u) << "the failure reaches the last-resort handler";
  EXPECT_EQ(desktop.messages[0].text, "adding failed");
  EXPECT_FALSE(window.visible) << "closes also when the adding failed";
  EXPECT_FALSE(popup.Timer1Enabled());
  EXPECT_EQ(closed, 1);
}

}  // namespace
}  // namespace sonvarro
