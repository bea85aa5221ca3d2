// Deterministic chance for the drawings: every picture is drawn from fixed
// seeds, so running make-pictures twice gives the same files.
#pragma once

#include <cstdint>

namespace yuunagi::art {

// A small seeded generator (splitmix64). Written out here rather than taken
// from <random>, whose distributions differ between standard libraries.
class Dice {
 public:
  explicit Dice(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Bits();
  // Uniform in [0, 1).
  double Unit();
  // Uniform in [low, high).
  double Range(double low, double high) { return low + (high - low) * Unit(); }
  // Uniform integer in [low, high].
  int Between(int low, int high);

 private:
  std::uint64_t state_;
};

// Smooth value noise in [0, 1] on a unit lattice, the same for the same seed.
double ValueNoise(double x, double y, std::uint32_t seed);
// Several octaves of value noise added up (fractal noise), in [0, 1].
double FractalNoise(double x, double y, std::uint32_t seed, int octaves);

}  // namespace yuunagi::art
