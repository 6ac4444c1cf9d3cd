#include "services/platform/Paths.h"

#include <gtest/gtest.h>

namespace sonvarro::platform {
namespace {

TEST(Paths, TakeAPathApart) {
  const struct {
    const char* path;
    const char* fileName;
    const char* folder;
    const char* extension;
  } cases[] = {
      {"/music/a b/Track.MP3", "Track.MP3", "/music/a b/", ".MP3"},
      {"/my.folder/noext", "noext", "/my.folder/", ""},
      {"/music/a.b.rmvb", "a.b.rmvb", "/music/", ".rmvb"},
      {"/music/trailing.", "trailing.", "/music/", "."},
      {"bare.wav", "bare.wav", "", ".wav"},
      {"/folder/", "", "/folder/", ""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileNamePart(c.path), c.fileName) << c.path;
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(ExtensionPart(c.path), c.extension) << c.path;
  }
}

TEST(Paths, PutOneSeparatorBetweenFolderAndName) {
  EXPECT_EQ(WithTrailingSeparator("/out"), "/out/");
  EXPECT_EQ(WithTrailingSeparator("/out/"), "/out/");
  EXPECT_EQ(WithTrailingSeparator(""), "/");
  EXPECT_EQ(JoinPath("/app", "evc.exe"), "/app/evc.exe");
  EXPECT_EQ(JoinPath("/app/", "Config/x.ini"), "/app/Config/x.ini");
}

}  // namespace
}  // namespace sonvarro::platform
