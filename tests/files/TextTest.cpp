#include "media/Text.h"

#include <gtest/gtest.h>

namespace yuunagi {
namespace {

TEST(FitText, CutsToCharactersThenDropsTrailingBlanks) {
  EXPECT_EQ(FitText("ABC" + std::string(17, ' '), 16), "ABC");
  EXPECT_EQ(FitText("ABCDEFGHIJKLMNOPQRST", 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(FitText(std::string(20, ' '), 16), "");
  EXPECT_EQ(FitText("", 16), "");
  EXPECT_EQ(FitText("short", 16), "short");
  EXPECT_EQ(FitText(" A B  ", 16), " A B");                      // inner and leading blanks stay
  EXPECT_EQ(FitText("ABC\xE3\x80\x80", 16), "ABC\xE3\x80\x80");  // only U+0020 is a blank
  EXPECT_EQ(FitText("ABCDEFGHIJKLMNO ", 15), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(FitText("ABC", 0), "");
  EXPECT_EQ(FitText("ABC", -3), "");
}

TEST(FitText, CountsUtf16UnitsNotBytes) {
  // Ten double-byte characters (a full 20-byte field) fit within 14 or 16.
  const std::string ten = "ユウナギ町争奪戦初級";
  EXPECT_EQ(FitText(ten, 14), ten);
  EXPECT_EQ(FitText(ten, 16), ten);
  EXPECT_EQ(FitText(ten, 4), "ユウナギ");
  EXPECT_EQ(FitText("ヒノデ ソラノ ", 4), "ヒノデ");
  // A character outside the basic plane takes two units and is never halved.
  EXPECT_EQ(FitText("A\xF0\x9F\x8C\x8A", 2), "A");
  EXPECT_EQ(FitText("A\xF0\x9F\x8C\x8A", 3), "A\xF0\x9F\x8C\x8A");
}

TEST(StripExtension, RemovesOnlyTheLastExtension) {
  EXPECT_EQ(StripExtension("a.b.dat"), "a.b");
  EXPECT_EQ(StripExtension("readme"), "readme");
  EXPECT_EQ(StripExtension(".dat"), ".dat");
  EXPECT_EQ(StripExtension(".a.dat"), ".a");
  EXPECT_EQ(StripExtension("X.DAT"), "X");
  EXPECT_EQ(StripExtension("a."), "a");
  EXPECT_EQ(StripExtension("初級.dat"), "初級");
  EXPECT_EQ(StripExtension(""), "");
}

TEST(Utf8Helpers, MeasureAndValidate) {
  EXPECT_EQ(Utf16Length("ABC"), 3u);
  EXPECT_EQ(Utf16Length("町争奪戦"), 4u);
  EXPECT_EQ(Utf16Length("\xF0\x9F\x8C\x8A"), 2u);
  EXPECT_EQ(Utf16Length("\xFF\xFE"), 2u);
  EXPECT_EQ(Utf8CharLength("\xC0\xAF"), 0u);      // overlong "/"
  EXPECT_EQ(Utf8CharLength("\xED\xA0\x80"), 0u);  // a surrogate
  EXPECT_EQ(Utf8CharLength("\xE3\x81"), 0u);      // cut short
  EXPECT_EQ(Utf8CharLength("あい"), 3u);
  EXPECT_TRUE(EndsWithIgnoringCase("X.DaT", ".dat"));
  EXPECT_FALSE(EndsWithIgnoringCase("dat", ".dat"));
}

}  // namespace
}  // namespace yuunagi
