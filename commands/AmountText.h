// The amount a player types for 町開発, 徴兵 and 訓練: the number read from
// the start of the text, and whether 決定 hands it on at all.
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

// The amount 決定 hands on for Develop, Hire or Train: nothing (the click is
// ignored) for zero, a negative number, no number, or an amount whose price
// leaves the 16-bit range. Whether the district can pay is the engine's to say.
std::optional<i16> AcceptedAmount(std::string_view text, Action action);

}  // namespace yuunagi
