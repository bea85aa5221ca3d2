// Reading the typed amount and pricing it, without the window.
#include <gtest/gtest.h>

#include "commands/AmountText.h"

using namespace yuunagi;

namespace {

std::optional<i16> Amount(std::string_view text) { return ReadAmount(text); }

}  // namespace

TEST(ReadAmount, ReadsTheNumberAtTheStartOfTheText) {
  EXPECT_EQ(Amount("120"), 120);
  EXPECT_EQ(Amount("  42"), 42);
  EXPECT_EQ(Amount("\t7"), 7);
  EXPECT_EQ(Amount("+15"), 15);
  EXPECT_EQ(Amount("-15"), -15);
  EXPECT_EQ(Amount("007"), 7);
  EXPECT_EQ(Amount("12人"), 12);
  EXPECT_EQ(Amount("12 34"), 12);
  EXPECT_EQ(Amount("5.9.9"), 6);
  EXPECT_EQ(Amount("1e3"), 1);
}

TEST(ReadAmount, TextWithoutALeadingNumberReadsAsZero) {
  for (std::string_view text : {"", "   ", "abc", "兵士10", "-", "+", ".", "- 5", "x12"}) {
    EXPECT_EQ(Amount(text), 0) << text;
  }
}

TEST(ReadAmount, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(Amount("2.5"), 2);
  EXPECT_EQ(Amount("3.5"), 4);
  EXPECT_EQ(Amount("0.5"), 0);
  EXPECT_EQ(Amount(".5"), 0);
  EXPECT_EQ(Amount("1.5"), 2);
  EXPECT_EQ(Amount("-2.5"), -2);
  EXPECT_EQ(Amount("-3.5"), -4);
  EXPECT_EQ(Amount("2.50000"), 2);
  // Anything past one half rounds up, however far down the digits it shows.
  EXPECT_EQ(Amount("2.500000000000000000001"), 3);
  EXPECT_EQ(Amount("2.4999999999999999999"), 2);
  EXPECT_EQ(Amount("2.6"), 3);
  EXPECT_EQ(Amount("7."), 7);
}

TEST(ReadAmount, NumbersOutsideSixteenBitsDoNotFit) {
  EXPECT_EQ(Amount("32767"), 32767);
  EXPECT_EQ(Amount("-32768"), -32768);
  EXPECT_EQ(Amount("32767.4"), 32767);
  EXPECT_EQ(Amount("32766.5"), 32766);
  EXPECT_EQ(Amount("-32768.5"), -32768);
  EXPECT_EQ(Amount("32768"), std::nullopt);
  EXPECT_EQ(Amount("32767.5"), std::nullopt);
  EXPECT_EQ(Amount("-32769"), std::nullopt);
  EXPECT_EQ(Amount("99999999999999999999999999"), std::nullopt);
  EXPECT_EQ(Amount("000000000000000000000000012"), 12);
}

TEST(ReadAmount, FullWidthFormsReadLikeAscii) {
  EXPECT_EQ(Amount("１２０"), 120);
  EXPECT_EQ(Amount("　３．５"), 4);
  EXPECT_EQ(Amount("－８"), -8);
  EXPECT_EQ(Amount("＋２"), 2);
  EXPECT_EQ(Amount("1２"), 12);
  EXPECT_EQ(Amount("十"), 0);
}

TEST(AmountPrice, TenALevelOneASoldierAndOverflowIsNoPrice) {
  EXPECT_EQ(AmountPrice(Develop, 20), 200);
  EXPECT_EQ(AmountPrice(Train, 3276), 32760);
  EXPECT_EQ(AmountPrice(Develop, 3277), std::nullopt);
  EXPECT_EQ(AmountPrice(Train, 3277), std::nullopt);
  EXPECT_EQ(AmountPrice(Hire, 3277), 3277);
  EXPECT_EQ(AmountPrice(Hire, 32767), 32767);
  EXPECT_EQ(AmountPrice(Attack, 1), std::nullopt);
  EXPECT_EQ(AmountPrice(Collect, 1), std::nullopt);
}

TEST(CheckAmount, ZeroNegativeAndUnreadableTextsAreIgnored) {
  for (std::string_view text : {"0", "", "abc", "-5", "-0.5", "0.4", "32768", "99999"}) {
    const AmountCheck check = CheckAmount(text, Hire, 10000);
    EXPECT_EQ(check.verdict, AmountVerdict::Ignored) << text;
  }
  // 10 × 3277 leaves 16 bits: ignored, not "too expensive".
  EXPECT_EQ(CheckAmount("3277", Develop, 10000).verdict, AmountVerdict::Ignored);
}

TEST(CheckAmount, PriceAgainstTheMoneyOfTheMover) {
  EXPECT_EQ(CheckAmount("3277", Hire, 3276).verdict, AmountVerdict::TooExpensive);
  const AmountCheck hire = CheckAmount("3277", Hire, 3277);
  EXPECT_EQ(hire.verdict, AmountVerdict::Accepted);
  EXPECT_EQ(hire.amount, 3277);
  EXPECT_EQ(CheckAmount("10", Train, 99).verdict, AmountVerdict::TooExpensive);
  EXPECT_EQ(CheckAmount("10", Train, 100).verdict, AmountVerdict::Accepted);
  // Caps are not the menu's business: 500 levels are sold in full.
  const AmountCheck develop = CheckAmount("500", Develop, 5000);
  EXPECT_EQ(develop.verdict, AmountVerdict::Accepted);
  EXPECT_EQ(develop.amount, 500);
  const AmountCheck half = CheckAmount("2.5", Hire, 2);
  EXPECT_EQ(half.verdict, AmountVerdict::Accepted);
  EXPECT_EQ(half.amount, 2);
  EXPECT_EQ(CheckAmount("3.5", Hire, 3).verdict, AmountVerdict::TooExpensive);
  // A district in debt cannot buy anything.
  EXPECT_EQ(CheckAmount("1", Hire, -5).verdict, AmountVerdict::TooExpensive);
}
