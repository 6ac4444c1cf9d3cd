// The companion DLLs and the programs of the Windows application folder, as
// the program reads them: Res.dll's strings and splash pictures, Form.dll's
// about box, and the version resource of every file.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "ProductStrings.h"
#include "services/Picture.h"
#include "services/platform/FileVersion.h"
#include "services/platform/Modules.h"
#include "shell/RecSoftInfo.h"
#include "shell/StartUp.h"

namespace sonvarro::platform {
namespace {

const std::string kApp = SONVARRO_APP_DIR "/";

TEST(Companions, ResHoldsTheProductStringsAndBothSplashPictures) {
  Module res(kApp + kResLibrary);
  ASSERT_TRUE(res) << res.Failure().Describe();
  struct Row {
    unsigned id;
    const char* text;
  };
  for (const Row& row : {Row{0, SONVARRO_RES_STRING_0}, Row{1, SONVARRO_RES_STRING_1}, Row{2, SONVARRO_RES_STRING_2},
                         Row{3, SONVARRO_RES_STRING_3}, Row{4, SONVARRO_RES_STRING_4}, Row{5, SONVARRO_RES_STRING_5},
                         Row{6, ""}, Row{7, SONVARRO_RES_STRING_7}}) {
    char buffer[SONVARRO_PRODUCT_TEXT_BYTES];
    EXPECT_EQ(LoadStringA(res.Handle(), row.id, buffer, sizeof buffer), static_cast<int>(std::strlen(row.text)));
    EXPECT_STREQ(buffer, row.text) << "string " << row.id;
  }

  ResourceData splash;
  ResourceData sharpSplash;
  ASSERT_TRUE(FindResourceA(res.Handle(), kSplashResourceName, kSplashResourceType, splash));
  ASSERT_TRUE(FindResourceA(res.Handle(), kSharpSplashResourceName, kSplashResourceType, sharpSplash));
  const Picture picture = DecodeJpeg(splash.data, splash.size);
  const Picture sharp = DecodeJpeg(sharpSplash.data, sharpSplash.size);
  EXPECT_GT(picture.width, 100);
  EXPECT_GT(picture.height, 100);
  EXPECT_EQ(sharp.width, picture.width * 2);
  EXPECT_EQ(sharp.height, picture.height * 2);
}

// What the about box showed, read and closed by a hook on the calling
// thread as soon as the box is activated.
struct ShownBox {
  int count = 0;
  std::wstring caption;
  std::wstring text;
};
ShownBox* shownBox = nullptr;

LRESULT CALLBACK ReadAndCloseTheBox(int code, WPARAM wParam, LPARAM lParam) {
  const auto window = reinterpret_cast<HWND>(wParam);
  wchar_t text[4096];
  // Message boxes are dialogs, of the system's dialog class.
  if (code == HCBT_ACTIVATE && shownBox && GetClassNameW(window, text, sizeof text / sizeof text[0]) &&
      std::wstring(text) == L"#32770") {
    ++shownBox->count;
    GetWindowTextW(window, text, sizeof text / sizeof text[0]);
    shownBox->caption = text;
    // A message box shows its text in the static control of id 0xFFFF.
    GetDlgItemTextW(window, 0xFFFF, text, sizeof text / sizeof text[0]);
    shownBox->text = text;
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

template <size_t N>
void Put(char (&field)[N], const char* text) {
  std::snprintf(field, N, "%s", text);
}

TEST(Companions, FormShowsTheAboutBoxWithTheRecordsTexts) {
  Module form(kApp + kFormLibrary);
  ASSERT_TRUE(form) << form.Failure().Describe();
  const auto show = reinterpret_cast<ShowAboutFormProc>(GetProcAddress(form.Handle(), SONVARRO_SHOW_ABOUT_FORM));
  ASSERT_NE(show, nullptr);

  RecSoftInfo info{};
  info.RecordSize = sizeof info;
  Put(info.Title, "Sonvarro Converter");
  Put(info.Version, "1.0");
  Put(info.AboutText0, "Turns files into audio.");
  Put(info.HomePage, "https://home.example/");
  Put(info.EMail, "mail@fixture.example");
  Put(info.AppFolder, "C:\\Program Files\\Sonvarro Cönverter\\");  // UTF-8, as every text of the program
  ShownBox shown;
  shownBox = &shown;
  HHOOK hook = SetWindowsHookExW(WH_CBT, ReadAndCloseTheBox, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  show(nullptr, info);
  info.RecordSize = 1;  // a program built for another record gets no box
  show(nullptr, info);
  UnhookWindowsHookEx(hook);
  shownBox = nullptr;

  EXPECT_EQ(shown.count, 1);
  EXPECT_EQ(shown.caption, L"About Sonvarro Converter");
  for (const wchar_t* part :
       {L"Sonvarro Converter 1.0", L"Turns files into audio.", L"Home page: https://home.example/",
        L"E-mail: mail@fixture.example", L"Installed in: C:\\Program Files\\Sonvarro C\u00f6nverter\\"}) {
    EXPECT_NE(shown.text.find(part), std::wstring::npos) << "no \"" << part << "\" in the box";
  }
}

TEST(Companions, EveryProgramAndLibraryCarriesTheProgramsVersion) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(SONVARRO_APP_DIR)) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".dll" && extension != ".exe") continue;
    ++files;
    const std::string path = entry.path().string();
    const Result<std::string> version = FileVersionOf(path);
    EXPECT_EQ(version.ValueOr({}), SONVARRO_FILE_VERSION) << path << ": " << version.GetStatus().Describe();
  }
  EXPECT_GE(files, 3) << "Res.dll, Form.dll and Lib.dll at least";
}

}  // namespace
}  // namespace sonvarro::platform
