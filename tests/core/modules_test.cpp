#include "services/platform/Modules.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "TempDir.h"
#include "services/platform/ExecutableFolder.h"
#include "services/platform/FileVersion.h"

namespace sonvarro::platform {
namespace {

const std::string kGoodRes = SONVARRO_FIXTURE_DIR "/res_good/Res.dll";

TEST(Modules, StringsAreCutToTheBufferAndMissingOnesAreEmpty) {
  Module res(kGoodRes);
  ASSERT_TRUE(res) << res.Failure().Describe();
  struct Row {
    unsigned id;
    int bufferMax;
    std::string expected;
  };
  const std::string longText = std::string(
      "0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789"
      "0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789"
      "0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789");
  const Row rows[] = {
      {1, 254, "Fixture Title"},
      {7, 254, longText.substr(0, 253)},  // 300 bytes in the table
      {7, 400, longText},
      {1, 8, "Fixture"},
      {1, 1, ""},
      {6, 254, ""},  // no such string
  };
  for (const Row& row : rows) {
    char buffer[400];
    std::memset(buffer, 'x', sizeof buffer);
    const int copied = LoadStringA(res.Handle(), row.id, buffer, row.bufferMax);
    EXPECT_EQ(std::string(buffer), row.expected) << "id " << row.id << " into " << row.bufferMax;
    EXPECT_EQ(copied, static_cast<int>(row.expected.size())) << "id " << row.id << " into " << row.bufferMax;
  }
  char untouched[4] = "abc";
  EXPECT_EQ(LoadStringA(nullptr, 1, untouched, sizeof untouched), 0);
  EXPECT_STREQ(untouched, "");
}

TEST(Modules, ResourcesAreFoundByNameAndTypeWhateverTheCase) {
  Module res(kGoodRes);
  ASSERT_TRUE(res) << res.Failure().Describe();
  ResourceData found;
  ASSERT_TRUE(FindResourceA(res.Handle(), "ImgFlash", "jpeg", found));
  ASSERT_GT(found.size, 4u);
  EXPECT_EQ(found.data[0], 0xFF);  // a JPEG's start-of-image marker
  EXPECT_EQ(found.data[1], 0xD8);
  EXPECT_FALSE(FindResourceA(res.Handle(), "ImgFlash", "png", found));
  EXPECT_FALSE(FindResourceA(res.Handle(), "Other", "jpeg", found));
  EXPECT_FALSE(FindResourceA(nullptr, "ImgFlash", "jpeg", found));

  Module noPicture(SONVARRO_FIXTURE_DIR "/res_no_picture/Res.dll");
  ASSERT_TRUE(noPicture);
  EXPECT_FALSE(FindResourceA(noPicture.Handle(), "ImgFlash", "jpeg", found));
}

TEST(Modules, WhatCannotBeLoadedSaysWhy) {
  test::TempDir dir;
  const std::string missing = dir.Folder() + "Res.dll";
  EXPECT_EQ(LoadLibraryA(missing), nullptr);
  const Module absent(missing);
  EXPECT_FALSE(absent);
  EXPECT_EQ(absent.Failure().Path(), missing);
  EXPECT_NE(absent.Failure().Message().find("Res.dll"), std::string::npos) << absent.Failure().Describe();
  const std::string notALibrary = dir.WriteFile("Form.dll", "MZ, but no library");
  const Result<HMODULE> garbage = LoadModule(notALibrary);
  EXPECT_FALSE(garbage);
  EXPECT_FALSE(garbage.GetStatus().Message().empty());
  EXPECT_EQ(garbage.GetStatus().Describe().rfind("Cannot load the library \"" + notALibrary + "\": ", 0), 0u);

  Module form(SONVARRO_FIXTURE_DIR "/form_recording/Form.dll");
  ASSERT_TRUE(form) << form.Failure().Describe();
  EXPECT_NE(GetProcAddress(form.Handle(), "ShowAboutForm"), nullptr);
  EXPECT_EQ(GetProcAddress(form.Handle(), "NoSuchExport"), nullptr);
  EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(FileVersion, IsReadFromTheProgramFile) {
  test::TempDir dir;
  const std::string self = ExecutablePath().ValueOr({});
  EXPECT_EQ(FileVersionOf(self).ValueOr({}), "1.8.0.0");  // this test program's own
  // Why there is none, for each kind of file that has none.
  const std::string text = dir.WriteFile("text.txt", "1.2.3.4");
  const std::string missing = dir.Folder() + "missing";
  for (const auto& [path, error] :
       std::vector<std::pair<std::string, int>>{{kGoodRes, ENODATA},  // a library without one
                                                {text, ENOEXEC},
                                                {missing, ENOENT},
                                                {dir.Folder(), EISDIR}}) {
    const auto version = FileVersionOf(path);
    EXPECT_FALSE(version.Ok()) << path;
    EXPECT_EQ(version.GetStatus().Error(), error) << path;
    EXPECT_EQ(version.GetStatus().Path(), path);
  }
  // A program cut short: the table that leads to its version is gone.
  std::string head(64, '\0');
  {
    std::FILE* program = std::fopen(self.c_str(), "rb");
    ASSERT_NE(program, nullptr);
    ASSERT_EQ(std::fread(head.data(), 1, head.size(), program), head.size());
    std::fclose(program);
  }
  EXPECT_EQ(FileVersionOf(dir.WriteFile("cut", head)).GetStatus().Error(), ENOEXEC);
}

}  // namespace
}  // namespace sonvarro::platform
