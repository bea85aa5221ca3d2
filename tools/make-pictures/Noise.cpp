#include "Noise.h"

#include <cmath>

namespace yuunagi::art {

std::uint64_t Dice::Bits() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Dice::Unit() { return static_cast<double>(Bits() >> 11) * 0x1.0p-53; }

int Dice::Between(int low, int high) {
  return low + static_cast<int>(Bits() % static_cast<std::uint64_t>(high - low + 1));
}

namespace {

// One pseudo-random value in [0, 1] per lattice point.
double LatticeValue(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x27D4EB2Du ^
                    static_cast<std::uint32_t>(y) * 0x165667B1u ^ seed * 0x9E3779B9u;
  h ^= h >> 15;
  h *= 0x85EBCA6Bu;
  h ^= h >> 13;
  h *= 0xC2B2AE35u;
  h ^= h >> 16;
  return static_cast<double>(h) / 4294967295.0;
}

double SmoothStep(double t) { return t * t * (3.0 - 2.0 * t); }

}  // namespace

double ValueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const auto ix = static_cast<std::int32_t>(fx);
  const auto iy = static_cast<std::int32_t>(fy);
  const double tx = SmoothStep(x - fx);
  const double ty = SmoothStep(y - fy);
  const double top = LatticeValue(ix, iy, seed) * (1 - tx) + LatticeValue(ix + 1, iy, seed) * tx;
  const double bottom = LatticeValue(ix, iy + 1, seed) * (1 - tx) + LatticeValue(ix + 1, iy + 1, seed) * tx;
  return top * (1 - ty) + bottom * ty;
}

double FractalNoise(double x, double y, std::uint32_t seed, int octaves) {
  double sum = 0;
  double weight = 1;
  double total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += weight * ValueNoise(x, y, seed + static_cast<std::uint32_t>(i) * 101u);
    total += weight;
    x *= 2.03;
    y *= 2.03;
    weight *= 0.5;
  }
  return sum / total;
}

}  // namespace yuunagi::art
