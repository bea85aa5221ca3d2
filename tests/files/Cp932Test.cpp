#include "files/Cp932.h"

#include <gtest/gtest.h>

#include <random>

#include "media/Text.h"

namespace yuunagi {
namespace {

TEST(Cp932, ConvertsBothWays) {
  EXPECT_EQ(Utf8ToCp932("Turn 12"), "Turn 12");
  EXPECT_EQ(Utf8ToCp932("あ"), "\x82\xA0");
  EXPECT_EQ(Utf8ToCp932("ｱ"), "\xB1");  // half-width katakana is one byte
  const std::string title = "ユウナギ町争奪戦";
  EXPECT_EQ(Utf8ToCp932(title).size(), 16u);
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(title)), title);
  EXPECT_EQ(Cp932ToUtf8("\x82\xA0\xB1"), "あｱ");
}

TEST(Cp932, TildeIs8160BothWays) {
  EXPECT_EQ(Utf8ToCp932("～"), "\x81\x60");  // U+FF5E
  EXPECT_EQ(Utf8ToCp932("〜"), "\x81\x60");  // U+301C wave dash
  EXPECT_EQ(Cp932ToUtf8("\x81\x60"), "～");
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932("～セーブファイル選択～")), "～セーブファイル選択～");
}

TEST(Cp932, UnencodableTextIsMarked) {
  bool exact = true;
  EXPECT_EQ(Utf8ToCp932("caf\xC3\xA9", &exact), "caf?");
  EXPECT_FALSE(exact);
  EXPECT_EQ(Utf8ToCp932("A\xFF"
                        "B",
                        &exact),
            "A?B");  // malformed UTF-8
  EXPECT_FALSE(exact);
  EXPECT_EQ(Utf8ToCp932("初級", &exact), "\x8F\x89\x8B\x89");
  EXPECT_TRUE(exact);
}

TEST(Cp932, FieldsArePaddedAndNeverKeepHalfACharacter) {
  EXPECT_EQ(EncodeField("AB", 5), "AB   ");
  EXPECT_EQ(EncodeField("", 3), "   ");
  EXPECT_EQ(EncodeField("ABCDEF", 4), "ABCD");
  // あ would straddle the end of the field: it is dropped and a blank takes its byte.
  EXPECT_EQ(EncodeField("ABCあ", 4), "ABC ");
  // Eleven double-byte characters keep ten in 20 bytes; one more single byte shifts the cut.
  const std::string eleven = "ユウナギ町争奪戦初級編";
  EXPECT_EQ(DecodeField(EncodeField(eleven, 20)), "ユウナギ町争奪戦初級");
  const std::string shifted = EncodeField("A" + eleven, 20);
  EXPECT_EQ(shifted.size(), 20u);
  EXPECT_EQ(shifted.back(), ' ');
  EXPECT_EQ(DecodeField(shifted), "Aユウナギ町争奪戦初");
  EXPECT_EQ(EncodeField("ｱｲｳ", 2), "\xB1\xB2");
}

TEST(Cp932, DecodingDropsWhatIsNoTextAndTheFieldPadding) {
  EXPECT_EQ(DecodeField("AB\x82"), "AB");  // lead byte cut off by the field end
  EXPECT_EQ(DecodeField("A\x80"
                        "B  "),
            "AB");                           // 0x80 is no character
  EXPECT_EQ(DecodeField("A\x82 B"), "A B");  // a lead byte without a valid trail
  EXPECT_EQ(DecodeField(std::string("AB\0\0  ", 6)), "AB");
  EXPECT_EQ(DecodeField(std::string(20, '\0')), "");
  EXPECT_EQ(DecodeField(std::string(20, ' ')), "");
  EXPECT_EQ(DecodeField(" A  "), " A");
}

TEST(Cp932, FitCheckTellsTooLongFromUnencodable) {
  EXPECT_EQ(CheckFieldFit("ユウナギ町争奪戦初級", 20), FieldFit::Fits);
  EXPECT_EQ(CheckFieldFit("ユウナギ町争奪戦初級編", 20), FieldFit::TooLong);
  EXPECT_EQ(CheckFieldFit(std::string(21, 'a'), 20), FieldFit::TooLong);
  EXPECT_EQ(CheckFieldFit("\xF0\x9F\x8C\x8A", 20), FieldFit::NotEncodable);
}

TEST(Cp932, RandomBytesAlwaysDecodeToValidUtf8) {
  std::mt19937_64 generator(932);
  for (int round = 0; round < 500; ++round) {
    std::string bytes(generator() % 64, '\0');
    for (char& b : bytes) b = static_cast<char>(generator() & 0xFF);
    const std::string text = Cp932ToUtf8(bytes);
    for (std::string_view rest = text; !rest.empty();) {
      const std::size_t length = Utf8CharLength(rest);
      ASSERT_NE(length, 0u) << "round " << round;
      rest.remove_prefix(length);
    }
    // Whatever decodes also encodes back into a field of the same width.
    EXPECT_EQ(EncodeField(DecodeField(bytes), bytes.size()).size(), bytes.size());
  }
}

}  // namespace
}  // namespace yuunagi
