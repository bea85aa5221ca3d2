// The amount a player types for 町開発, 徴兵 and 訓練: the number read from
// the start of the text, and what that many levels or soldiers cost.
#pragma once

#include <optional>
#include <string_view>

#include "core/GameState.h"

namespace yuunagi {

// The whole number at the start of `text` (UTF-8): leading blanks skipped,
// an optional sign, digits, an optional fraction; reading stops at the first
// character that cannot continue the number. Halves go to the even neighbour
// (2.5 gives 2, 3.5 gives 4). A text without a leading number reads as 0.
// Full-width digits, signs, point and blank, as a Japanese input method
// types them, read like their ASCII forms.
// nullopt when the number does not fit in a signed 16-bit integer.
std::optional<i16> ReadAmount(std::string_view text);

// The price of `amount` units of `action`: 10 gold a level for Develop and
// Train, 1 gold a soldier for Hire. nullopt when the price leaves the 16-bit
// range or the action is not one of these three.
std::optional<i16> AmountPrice(i16 action, i16 amount);

// What 決定 on the amount panel does with the typed text.
enum class AmountVerdict {
  Ignored,       // zero, negative, no number, or outside 16 bits: nothing happens
  TooExpensive,  // "お金が足りません!!"
  Accepted,      // carry out `action` with `amount`
};

struct AmountCheck {
  AmountVerdict verdict = AmountVerdict::Ignored;
  i16 amount = 0;
};

// Reads `text` and weighs its price against the moving district's `money`.
AmountCheck CheckAmount(std::string_view text, i16 action, i16 money);

}  // namespace yuunagi
