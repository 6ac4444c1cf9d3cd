#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "FakeControls.h"
#include "RecordingDesktop.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "engine/OptionLists.h"
#include "settings/FrmOption.h"

namespace sonvarro {
namespace {

// The counter holds what the engine reads as a 32-bit number; its largest
// value must count on without overflowing.
TEST(CustomProfiles, TheAddCounterCountsOnPastItsLargestNumber) {
  test::TempDir dir;
  const std::string countFile = dir.WriteFile("Config/UserProfileCount.ini", "\r\n[count]\r\ncount=2147483647\r\n");
  test::FakeOptionControls f;
  FillOptionLists(f.controls, {});
  test::FakeWindow window;
  TAppFunc appFunc(dir.Folder());
  test::RecordingDesktop desktop;
  TCommonLib common(dir.Folder(), appFunc, desktop);
  std::vector<std::string> proposed;
  test::ScriptedDialogs dialogs;
  dialogs.inputQuery = [&](const std::string&, const std::string&, const std::string& text) {
    proposed.push_back(text);
    return std::optional<std::string>();
  };
  TfrmOption form({window, f.controls}, {dir.Folder(), common, appFunc, dialogs});

  form.btnAddClick();
  std::ifstream in(countFile, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "\r\n[count]\r\ncount=2147483648\r\n");
  // Beyond what the engine reads as a number, the count starts again.
  form.btnAddClick();
  EXPECT_EQ(proposed, (std::vector<std::string>{"UserProfileInfo2147483648", "UserProfileInfo1"}));
}

}  // namespace
}  // namespace sonvarro
