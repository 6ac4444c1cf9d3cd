// Form.dll for Windows: the about box, built from the product information
// record, as a plain Win32 message box (the Windows build has no Qt).

#include <windows.h>

#include <string>

#include "AboutLabels.h"
#include "shell/RecSoftInfo.h"

namespace {

// The record's texts are UTF-8, as all the program's 8-bit texts are.
std::wstring Text(const char* utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), length);
  wide.pop_back();  // the NUL
  return wide;
}

}  // namespace

// The application object is the Qt skin's; the Win32 box has no use for it
// and is owned by the program's active window instead.
extern "C" __declspec(dllexport) void ShowAboutForm(void* /*application*/, RecSoftInfo info) {
  // A program built for another layout of the record gets no box rather
  // than texts read from the wrong places.
  if (info.RecordSize != sizeof(RecSoftInfo)) return;
  const std::wstring caption = Text(kAboutCaption) + Text(info.Title);
  const std::wstring text = Text(info.Title) + L" " + Text(info.Version) + L"\n\n" + Text(info.AboutText0) + L"\n" +
                            Text(info.AboutText2) + L"\n\n" + Text(kHomePageLabel) + Text(info.HomePage) + L"\n" +
                            Text(kEMailLabel) + Text(info.EMail) + L"\n" + Text(kInstalledInLabel) +
                            Text(info.AppFolder) + L"\n\n" + Text(info.AboutText7);
  MessageBoxW(GetActiveWindow(), text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
}
