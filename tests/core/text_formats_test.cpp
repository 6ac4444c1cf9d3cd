#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "services/TextFormats.h"

namespace sonvarro {
namespace {

using Items = std::vector<std::string>;

TEST(SplitText, CutsAtEverySeparatorKeepingInnerEmptyItems) {
  struct Case {
    std::string text;
    char separator;
    Items expected;
  };
  const Case cases[] = {
      {"a:b:c", ':', {"a", "b", "c"}},
      {"a::c", ':', {"a", "", "c"}},
      {":a", ':', {"", "a"}},
      {"a:b:", ':', {"a", "b"}},
      {"abc", ':', {"abc"}},
      {"", ':', {}},
      {":", ':', {""}},
      {"size=1kB time=2.50 bitrate=3", '=', {"size", "1kB time", "2.50 bitrate", "3"}},
      {" a | b ", '|', {" a ", " b "}},
      {"none|none|none|2|0|0", '|', {"none", "none", "none", "2", "0", "0"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitText(c.text, c.separator), c.expected) << "text: " << c.text;
  }
}

TEST(SplitNonEmpty, ClearsTheListAndKeepsOnlyNonEmptyPieces) {
  struct Case {
    std::string text;
    Items expected;
  };
  const Case cases[] = {
      {"1.0.2.5", {"1", "0", "2", "5"}}, {"1..2.", {"1", "2"}}, {".", {}}, {"", {}}, {".a", {"a"}},
      {"1.8.0.0", {"1", "8", "0", "0"}},
  };
  for (const Case& c : cases) {
    Items list = {"left", "over"};
    SplitNonEmpty(c.text, '.', list);
    EXPECT_EQ(list, c.expected) << "text: " << c.text;
  }
}

TEST(TextToNumber, KeepsDigitsAndTheFirstPointAndSigns) {
  struct Case {
    std::string text;
    double expected;
  };
  const Case cases[] = {
      {" 12.34 bitrate", 12.34},
      {"1.2.3", 1.23},
      {"12-3", 123},
      {"-5", -5},
      {"+7", 7},
      {"abc", 0},
      {"00", 0},
      {"10000000000", 10000000000.0},
      {"-", 0},
      {"+", 0},
      {"", 0},
      {"7", 7},
      {" \t\r\n9\n", 9},
      {"-.5", -0.5},
      {".5", 0.5},
      {"5.", 5},
      {"-+5", -5},
      {"+-5", 5},
      {"5-", 5},
      {"00:01:07", 107},  // the colons drop out; callers split first
      {"1kB", 1},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(TextToNumber(c.text), c.expected) << "text: " << c.text;
  }
}

TEST(TextToNumber, FailsWhenTheKeptTextHoldsNoDigit) {
  for (const std::string text : {".", "-.", "+-", "a.b", "+.-", " . "}) {
    EXPECT_THROW(TextToNumber(text), ConversionError) << "text: " << text;
  }
  try {
    TextToNumber("-.");
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("-."), std::string::npos) << error.what();
  }
}

TEST(TimeText, WritesHoursMinutesAndSecondsWithTwoDigitsAtLeast) {
  struct Case {
    int64_t seconds;
    std::string expected;
  };
  const Case cases[] = {
      {0, "00:00:00"},           {59, "00:00:59"},   {60, "00:01:00"},    {3599, "00:59:59"},
      {3600, "01:00:00"},        {3661, "01:01:01"}, {86399, "23:59:59"}, {99 * 3600 + 59 * 60 + 59, "99:59:59"},
      {100 * 3600, "100:00:00"}, {-1, "00:00:00"},   {-7200, "00:00:00"}, {INT64_MAX, "2562047788015215:30:07"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TimeText(c.seconds), c.expected) << "seconds: " << c.seconds;
  }
}

TEST(ZeroPad, DividesAndPadsWithoutCutting) {
  struct Case {
    int64_t value, divisor;
    int width;
    std::string expected;
  };
  const Case cases[] = {
      {5, 1, 2, "05"}, {61000, 60000, 2, "01"}, {59999, 1000, 2, "59"}, {123, 1, 2, "123"}, {7, 1, 0, "7"},
      {7, 1, -3, "7"}, {-5, 1, 3, "0-5"},       {0, 1, 4, "0000"},      {-7, 2, 1, "-3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ZeroPad(c.value, c.divisor, c.width), c.expected)
        << c.value << " / " << c.divisor << " width " << c.width;
  }
  EXPECT_THROW(ZeroPad(1, 0, 2), std::invalid_argument);
}

TEST(SizeText, PicksTheUnitAndCutsToTwoDecimals) {
  struct Case {
    int64_t bytes;
    std::string expected;
  };
  const Case cases[] = {
      {0, "0 B"},
      {1023, "1023 B"},
      {1024, "1 KB"},
      {1536, "1.5 KB"},
      {1048575, "1023.99 KB"},
      {1048576, "1 MB"},
      {1073741823, "1023.99 MB"},
      {1073741824, "1 GB"},
      {5000000000, "4.65 GB"},
      {int64_t{1024} * 1073741824, "1024 GB"},
      {-5, "0 B"},
      {1034, "1 KB"},  // 1.0097...: cut, not rounded
      {1127, "1.1 KB"},
      {INT64_MAX, "8589934592 GB"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SizeText(c.bytes), c.expected) << "bytes: " << c.bytes;
  }
}

}  // namespace
}  // namespace sonvarro
