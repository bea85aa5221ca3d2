// The even start of six factions, shared by the tests and the benches: every
// district starts with the same values, and faction i holds district i
// unless the caller hands out the districts otherwise.
#pragma once

#include <array>
#include <cstdint>

#include "files/Records.h"

namespace yuunagi::test {

// What every district starts with.
struct StartValues {
  std::int16_t money = 100;
  std::int16_t soldiers = 50;
  std::int16_t strength = 10;
  std::int16_t weapon = 1;
  std::int16_t development = 10;
};

inline ScenarioRecord EvenStart(const StartValues& values = {},
                                const std::array<std::int16_t, 6>& owners = {0, 1, 2, 3, 4, 5}) {
  ScenarioRecord s;
  s.StartTurn = 1;
  s.Music = "決戦の町";
  s.StartOwner = owners;
  s.StartMoney.fill(values.money);
  s.StartSoldiers.fill(values.soldiers);
  s.StartStrength.fill(values.strength);
  s.StartWeapon.fill(values.weapon);
  s.StartDevelopment.fill(values.development);
  return s;
}

}  // namespace yuunagi::test
