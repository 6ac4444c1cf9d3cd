#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "IniFiles32/IniFile32.h"
#include "TempDir.h"

namespace sonvarro {
namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;

class IniFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& content, const std::string& name = "settings.ini") {
    return dir.WriteFile(name, content);
  }
  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  test::TempDir dir;
};

TEST_F(IniFileTest, FirstWriteCreatesTheFileWithABlankLineBeforeTheSection) {
  const std::string path = dir.Folder() + "new.ini";
  TIniFile32 ini(path);
  EXPECT_TRUE(ini.Lines().empty());
  EXPECT_EQ(ini.ReadString("S", "k", "default"), "default");
  EXPECT_FALSE(std::filesystem::exists(path));

  ini.WriteString("S", "k", "v");
  EXPECT_EQ(Bytes(path), "\r\n[S]\r\nk=v\r\n");
  EXPECT_EQ(TIniFile32(path).ReadString("S", "k", ""), "v");
}

TEST_F(IniFileTest, LoadSplitsAtEveryLineEndAndStopsAtNul) {
  struct Case {
    std::string content;
    Lines expected;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b"}},
      {"\r\n\r\n", {"", ""}},
      {"a\r", {"a"}},
      {"[A]\r\nk=v\0\r\nx=y\r\n"s, {"[A]", "k=v"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TIniFile32(Write(c.content)).Lines(), c.expected);
  }
}

TEST_F(IniFileTest, ValuesAreTrimmedAndEmptyOnesReadAsAbsent) {
  TIniFile32 ini(
      Write("[A]\r\n"
            "k=  v  \r\n"
            "empty=\r\n"
            "eq = a=b\r\n"
            " spaced key\t= x \r\n"
            "quoted=\"q\"\r\n"
            ";comment=c\r\n"
            "#hash=h\r\n"
            "no equals sign\r\n"
            "\r\n"
            "=nameless\r\n"
            "twice=first\r\n"
            "twice=second\r\n"));
  struct Case {
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"k", "v"},          {"empty", "default"}, {"eq", "a=b"},    {"spaced key", "x"},
      {"quoted", "\"q\""}, {";comment", "c"},    {"#hash", "h"},   {"no equals sign", "default"},
      {"", "default"},     {"twice", "first"},   {"K", "default"}, {"missing", "default"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ini.ReadString("A", c.key, "default"), c.expected) << "key: " << c.key;
  }
  EXPECT_EQ(ini.ReadString("Missing", "k", "default"), "default");
}

TEST_F(IniFileTest, SectionsAreFoundOnlyOnAnExactHeaderLetterCaseAside) {
  TIniFile32 ini(
      Write("InitDir=/above\r\n"
            "[usrinfo]\r\n"
            "initdir=/lower\r\n"
            "InitDir=/home\r\n"
            " [Padded]\r\n"
            "p=1\r\n"
            "[ Inner ]\r\n"
            "i=2\r\n"
            "[Dup]\r\n"
            "d=first\r\n"
            "[dup]\r\n"
            "d=second\r\n"
            "e=second only\r\n"));
  EXPECT_EQ(ini.ReadString("USRInfo", "InitDir", "def"), "/home");
  EXPECT_EQ(ini.ReadString("USRINFO", "initdir", "def"), "/lower");
  // " [Padded]" is a header (it ends [usrinfo]) but is not found by name.
  EXPECT_EQ(ini.ReadString("usrinfo", "p", "def"), "def");
  EXPECT_EQ(ini.ReadString("Padded", "p", "def"), "def");
  EXPECT_EQ(ini.ReadString(" Inner ", "i", "def"), "2");
  EXPECT_EQ(ini.ReadString("Inner", "i", "def"), "def");
  EXPECT_EQ(ini.ReadString("Dup", "d", "def"), "first");
  EXPECT_EQ(ini.ReadString("Dup", "e", "def"), "def");

  Lines sections = {"stale"};
  ini.ReadSections(sections);
  EXPECT_EQ(sections, (Lines{"usrinfo", "Padded", "Inner", "Dup", "dup"}));
}

TEST_F(IniFileTest, ReadIntegerTakesDecimalAndHexWithin32Bits) {
  struct Case {
    const char* value;
    int32_t expected;
  };
  const Case cases[] = {
      {"0x1F", 31},
      {"0X1f", 31},
      {"$1F", 31},
      {"-12", -12},
      {"+5", 5},
      {"  7  ", 7},
      {"-$1F", -31},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$7FFFFFFF", INT32_MAX},
      {"12abc", -99},
      {"0x", -99},
      {"$", -99},
      {"-", -99},
      {"2147483648", -99},
      {"-2147483649", -99},
      {"$80000000", -99},
      {"1.5", -99},
      {"0x-1", -99},
      {"- 1", -99},
      {"abc", -99},
      {"", -99},
  };
  for (const Case& c : cases) {
    TIniFile32 ini(Write(std::string("[N]\r\nn=") + c.value + "\r\n"));
    EXPECT_EQ(ini.ReadInteger("N", "n", -99), c.expected) << "value: " << c.value;
  }
}

TEST_F(IniFileTest, WriteReplacesTheKeyOrInsertsAtTheEndOfTheBody) {
  const std::string path = Write("[A]\r\nx = 1\r\n\r\n[B]\r\nz=3");
  TIniFile32 ini(path);
  ini.WriteString("A", "y", "2");
  EXPECT_EQ(Bytes(path), "[A]\r\nx = 1\r\n\r\ny=2\r\n[B]\r\nz=3\r\n");

  ini.WriteString("A", "x", "one");
  ini.WriteString("B", "w", "last");
  ini.WriteInteger("C", "n", -7);
  EXPECT_EQ(Bytes(path), "[A]\r\nx=one\r\n\r\ny=2\r\n[B]\r\nz=3\r\nw=last\r\n\r\n[C]\r\nn=-7\r\n");
  EXPECT_EQ(TIniFile32(path).ReadInteger("C", "n", 0), -7);
}

TEST_F(IniFileTest, WritesGoToTheFirstFindableSectionOnly) {
  const std::string path = Write(
      "k=above\r\n"
      " [A]\r\n"
      "[S]\r\n"
      "k=1\r\n"
      "[s]\r\n"
      "k=2\r\n");
  TIniFile32 ini(path);
  ini.WriteString("S", "k", "new");
  // A padded header is never found by name: a write adds a section of its own.
  ini.WriteString("A", "a", "1");
  EXPECT_EQ(Bytes(path), "k=above\r\n [A]\r\n[S]\r\nk=new\r\n[s]\r\nk=2\r\n\r\n[A]\r\na=1\r\n");

  Lines sections;
  TIniFile32(path).ReadSections(sections);
  EXPECT_EQ(sections, (Lines{"A", "S", "s", "A"}));
}

TEST_F(IniFileTest, NamesAreWrittenAsPassed) {
  const std::string path = dir.Folder() + "names.ini";
  TIniFile32 ini(path);
  ini.WriteString("a]b", "k=x", "v=w");
  ini.WriteString("Empty key", "", "ignored");
  EXPECT_EQ(Bytes(path), "\r\n[a]b]\r\nk=x=v=w\r\n\r\n[Empty key]\r\n");
  // The key is what stands before the first "=": "k", so "k=x" is not found.
  EXPECT_EQ(TIniFile32(path).ReadString("a]b", "k", ""), "x=v=w");
}

TEST_F(IniFileTest, EveryWriteRewritesTheFileEvenWithoutChange) {
  // LF line ends turn into CR LF only when the file is rewritten.
  const std::string path = Write("[A]\nx=1\n");
  TIniFile32 ini(path);
  ini.WriteString("A", "", "ignored");
  EXPECT_EQ(ini.Lines(), (Lines{"[A]", "x=1"}));
  EXPECT_EQ(Bytes(path), "[A]\r\nx=1\r\n");
}

TEST_F(IniFileTest, EraseSectionRemovesHeaderAndBody) {
  const std::string path = Write("[First]\nf=1\n\n[Middle]\nm=2\n\n[Last]\nl=3\n");
  TIniFile32 ini(path);

  ini.EraseSection("Missing");
  EXPECT_EQ(Bytes(path), "[First]\nf=1\n\n[Middle]\nm=2\n\n[Last]\nl=3\n") << "rewritten";

  ini.EraseSection("MIDDLE");
  EXPECT_EQ(Bytes(path), "[First]\r\nf=1\r\n\r\n\r\n[Last]\r\nl=3\r\n");

  // The first line of the file leaves no blank line behind.
  ini.EraseSection("First");
  EXPECT_EQ(Bytes(path), "[Last]\r\nl=3\r\n");

  ini.EraseSection("Last");
  EXPECT_EQ(Bytes(path), "");
  EXPECT_TRUE(ini.Lines().empty());
}

TEST_F(IniFileTest, EachObjectSeesTheFileAsItWasWhenMade) {
  const std::string path = Write("[A]\r\nk=old\r\n");
  TIniFile32 early(path);
  TIniFile32(path).WriteString("A", "k", "new");
  EXPECT_EQ(early.ReadString("A", "k", ""), "old");
  EXPECT_EQ(TIniFile32(path).ReadString("A", "k", ""), "new");
  // The last to save wins.
  early.WriteString("A", "other", "1");
  EXPECT_EQ(Bytes(path), "[A]\r\nk=old\r\nother=1\r\n");
}

TEST_F(IniFileTest, PathsWithBlanksQuotesAndNonAsciiLetters) {
  const std::string path = Write("[A]\r\nk=v\r\n", "Cönfig $HOME 'x' \"y\"/user: settings.ini");
  TIniFile32 ini(path);
  EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
  ini.WriteString("A", "k", "w");
  EXPECT_EQ(Bytes(path), "[A]\r\nk=w\r\n");
}

// Modes and links, a file size limit, a file only writable: by the Linux
// file system's rules.
#ifndef _WIN32
TEST_F(IniFileTest, SavingKeepsTheFilesModeAndLinks) {
  const std::string real = Write("[A]\r\nk=v\r\n", "real.ini");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  const std::string link = dir.Folder() + "link.ini";
  std::filesystem::create_symlink(real, link);

  TIniFile32(link).WriteString("A", "k", "w");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Bytes(real), "[A]\r\nk=w\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

#endif

TEST_F(IniFileTest, SaveIntoAMissingFolderFailsAndKeepsTheChangeInMemory) {
  const std::string path = dir.Folder() + "Missing/settings.ini";
  TIniFile32 ini(path);
  try {
    ini.WriteString("S", "k", "v");
    FAIL() << "no error";
  } catch (const IniFileError& error) {
    EXPECT_STREQ(error.what(), ("Cannot create file \"" + path + "\". No such file or directory").c_str());
  }
  EXPECT_EQ(ini.Lines(), (Lines{"", "[S]", "k=v"}));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Missing"));
}

TEST_F(IniFileTest, FolderAtThePathReadsAsEmptyAndCannotBeSaved) {
  const std::string path = dir.Folder() + "Config.ini";
  std::filesystem::create_directory(path);
  TIniFile32 ini(path);
  EXPECT_TRUE(ini.Lines().empty());
  try {
    ini.WriteString("S", "k", "v");
    FAIL() << "no error";
  } catch (const IniFileError& error) {
    EXPECT_STREQ(error.what(), ("Cannot create file \"" + path + "\". Is a directory").c_str());
  }
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"Config.ini"})) << "temporary file left";
}

#ifndef _WIN32
TEST_F(IniFileTest, FailedSaveLeavesThePreviousFileWhole) {
  const std::string previous = "[A]\r\nk=v\r\n";
  const std::string path = Write(previous);
  TIniFile32 ini(path);

  // Let the file system refuse anything longer than a few bytes.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = saved;
  tiny.rlim_cur = 8;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  std::string message;
  try {
    ini.WriteString("A", "long", std::string(100, 'x'));
  } catch (const IniFileError& error) {
    message = error.what();
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(message, "Cannot create file \"" + path + "\". File too large");
  EXPECT_EQ(Bytes(path), previous);
  EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"settings.ini"})) << "temporary file left";
  EXPECT_EQ(ini.ReadString("A", "long", ""), std::string(100, 'x'));
}

TEST(IniFileOpen, AnUnreadableFileFailsAtCreation) {
  // Write-only even for root; only ever opened for reading here.
  const std::string path = "/proc/sys/vm/drop_caches";
  if (!std::filesystem::exists(path) || std::ifstream(path).good()) GTEST_SKIP() << "readable";
  try {
    TIniFile32 ini(path);
    FAIL() << "no error";
  } catch (const IniFileError& error) {
    EXPECT_STREQ(error.what(), ("Cannot open file \"" + path + "\". Permission denied").c_str());
  }
}

#endif

}  // namespace
}  // namespace sonvarro
