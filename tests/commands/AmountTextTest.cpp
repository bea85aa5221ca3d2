// The amount typed for 町開発, 徴兵 and 訓練, without the window: what 決定
// hands on, and what it ignores. Whether the district can pay is the engine's.
#include <gtest/gtest.h>

#include <string>

#include "commands/AmountText.h"

using namespace yuunagi;

// TEXT=AMOUNT for 徴兵, cases apart by "; ": the number at the start of the
// text, full-width forms read like ASCII; halves go to the even neighbour,
// anything past one half rounds up; no number, zero or less, or past 16 bits:
// nothing (an empty amount).
constexpr std::string_view kHired =
    "120=120; +15=15; 007=7; 12人=12; 12 34=12; 5.9.9=6; 1e3=1; \t7=7;   42=42; １２０=120; 　３．５=4; "
    "＋２=2; "
    "1２=12; 十=; －８=; 2.5=2; 3.5=4; 1.5=2; 2.50000=2; 7.=7; 2.500000000000000000001=3; "
    "2.4999999999999999999=2; 0.5=; 0.6=1; .5=; =; abc=; 兵士10=; - 5=; 0=; -5=; -0.5=; 32767=32767; "
    "32767.4=32767; 32767.5=; 32768=; 99999999999999999999999999=; 000000000000000000000000012=12";

TEST(AcceptedAmount, ReadsTheLeadingNumberAndIgnoresWhatCannotBeBought) {
  for (std::string_view rest = kHired; !rest.empty();) {
    const std::string_view item = rest.substr(0, rest.find("; "));
    rest.remove_prefix(std::min(rest.size(), item.size() + 2));
    const std::string_view text = item.substr(0, item.rfind('='));
    const std::optional<i16> amount = AcceptedAmount(text, Action::Hire);
    EXPECT_EQ(amount ? std::to_string(*amount) : "", item.substr(text.size() + 1)) << "typed: " << text;
  }
  // Ten gold a level: 3277 levels would cost past 16 bits.
  for (const Action action : {Action::Develop, Action::Train}) {
    EXPECT_EQ(AcceptedAmount("3276", action), 3276);
    EXPECT_EQ(AcceptedAmount("3277", action), std::nullopt);
  }
}
