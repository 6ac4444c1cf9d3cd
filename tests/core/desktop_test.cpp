// The system desktop's question whether a program opens a type of file, asked
// of a stand-in xdg-mime placed first on PATH.

#include "services/platform/Desktop.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <string>

#include "TempDir.h"

namespace sonvarro {
namespace {

class SystemDesktopTest : public ::testing::Test {
 protected:
  SystemDesktopTest() : previousPath_(getenv("PATH") ? getenv("PATH") : "") {
    // Answers "query filetype" for *.chm and *.htm files that exist, and
    // "query default" from the handlers listed in the file "defaults".
    const std::string script = bin_.WriteFile("xdg-mime", R"(#!/bin/sh
case "$2" in
  filetype)
    [ -e "$3" ] || { echo "xdg-mime: file '$3' does not exist" >&2; exit 2; }
    case "$3" in *.chm) echo application/vnd.ms-htmlhelp ;; *.htm) echo text/html ;; esac ;;
  default) grep "^$3=" ")" + bin_.Folder() + R"(defaults" | cut -d= -f2 ;;
esac
)");
    chmod(script.c_str(), 0755);
    bin_.WriteFile("defaults", "text/html=browser.desktop\n");
    setenv("PATH", (bin_.Folder() + ":" + previousPath_).c_str(), 1);
  }
  ~SystemDesktopTest() override { setenv("PATH", previousPath_.c_str(), 1); }

  test::TempDir bin_, files_;
  std::string previousPath_;
};

TEST_F(SystemDesktopTest, AFileHasAHandlerOnlyWhenItsTypeHasADefaultProgram) {
  platform::IDesktop& desktop = platform::SystemDesktop();
  EXPECT_TRUE(desktop.HasHandlerFor(files_.WriteFile("index.htm", "<html></html>")));
  EXPECT_FALSE(desktop.HasHandlerFor(files_.WriteFile("Help.chm", "ITSF")));   // a type without a program
  EXPECT_FALSE(desktop.HasHandlerFor(files_.Folder() + "missing.htm"));        // xdg-mime fails
  EXPECT_FALSE(desktop.HasHandlerFor(files_.WriteFile("notes.txt", "text")));  // a type it cannot name
}

}  // namespace
}  // namespace sonvarro
