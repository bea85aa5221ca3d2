// Board values are signed 16-bit numbers. Sums and products are formed wider
// and saturated at the 16-bit bounds, so an overflow never wrecks a game.
#pragma once

#include <cstdint>
#include <limits>

namespace yuunagi {

constexpr std::int16_t Saturate16(long long v) {
  if (v > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
  if (v < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
  return static_cast<std::int16_t>(v);
}

constexpr bool Fits16(long long v) {
  return v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max();
}

constexpr std::int16_t Add16(long long a, long long b) { return Saturate16(a + b); }
constexpr std::int16_t Sub16(long long a, long long b) { return Saturate16(a - b); }
constexpr std::int16_t Mul16(long long a, long long b) { return Saturate16(a * b); }

// A value raised by an action is cut back to its limit.
constexpr std::int16_t Limit16(std::int16_t v, std::int16_t limit) { return v > limit ? limit : v; }

}  // namespace yuunagi
