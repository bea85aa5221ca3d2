// The one source of chance in a game: uniform numbers in [0, 1). The game
// seeds one from the clock; the simulator seeds one per game; tests script it.
#pragma once

#include <cstdint>

namespace yuunagi {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A uniform number in [0, 1). Every call is one draw.
  virtual double Next() = 0;
};

// A small, fast generator (xoshiro256**) seeded through splitmix64.
class SeededRandom final : public RandomSource {
 public:
  explicit SeededRandom(std::uint64_t seed);
  double Next() override;
  std::uint64_t NextBits();

  // A seed taken from the clock, for the game's one generator.
  static std::uint64_t SeedFromClock();

 private:
  std::uint64_t s_[4];
};

}  // namespace yuunagi
