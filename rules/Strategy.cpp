// How a district that no human plays chooses its move: capture what one blow
// can take, otherwise a fixed chain of chances to collect, hire, arm, develop,
// train, and failing all of these, attack someone at random.
#include <algorithm>
#include <cmath>

#include "core/Engine.h"
#include "core/Int16.h"

namespace yuunagi {
namespace {

bool CanUse(const DistrictRecord& d, int level) {
  return d.Money >= AttackCost[level - 1] && d.Weapon >= level;
}

// Int(x) of a non-negative amount computed in floating point.
long long Floor(double x) { return static_cast<long long>(std::floor(x)); }

}  // namespace

i16 Engine::BestDamage(i16 district) const {
  const DistrictRecord& d = data_.Districts[district];
  for (int level = kWeaponLevels; level >= 1; --level) {
    if (CanUse(d, level)) return Damage(d.Strength, level);
  }
  return 0;
}

i16 Engine::FindCapturableTarget() {
  const auto& districts = data_.Districts;
  const DistrictRecord& mover = districts[data_.CurrentDistrict];
  const i16 reach = BestDamage(data_.CurrentDistrict);
  for (int attempt = 0; attempt < 10; ++attempt) {
    const int t = static_cast<int>(random_.Next() * kDistrictCount);
    if (districts[t].Owner != mover.Owner && districts[t].Soldiers <= reach) return static_cast<i16>(t);
  }
  return NoTarget;
}

i16 Engine::ChooseCapturingWeapon(i16 attacker, i16 target) const {
  const DistrictRecord& a = data_.Districts[attacker];
  const DistrictRecord& t = data_.Districts[target];
  for (int level = 1; level <= 4; ++level) {
    if (CanUse(a, level) && Damage(a.Strength, level) >= t.Soldiers) return static_cast<i16>(level);
  }
  return 5;
}

// An amount from a little over half to all of what `units` can buy:
// h = Int(units / 2), n = h + 1 + Int(h * r), drawn again while it costs more
// than the district's money.
i16 Engine::DrawHalfToAll(i16 units, int pricePerUnit) {
  const DistrictRecord& mover = data_.Districts[data_.CurrentDistrict];
  for (;;) {
    const long long h = Floor(units / 2.0);
    const long long n = h + 1 + Floor(static_cast<double>(h) * random_.Next());
    if (n * pricePerUnit <= mover.Money) return Saturate16(n);
  }
}

void Engine::ChooseComputerAction() {
  const auto& districts = data_.Districts;
  const DistrictRecord& mover = districts[data_.CurrentDistrict];
  const int turn = data_.TurnNumber;
  i16 action = 0, value = 0, target = 0;

  target = FindCapturableTarget();
  if (mover.Soldiers > 2 * turn && target != NoTarget) {
    action = Attack;
    value = ChooseCapturingWeapon(data_.CurrentDistrict, target);
  } else if (const double r1 = random_.Next(); r1 <= 0.2 && mover.Development > 0) {
    action = Collect;
  } else if (const double r2 = random_.Next(), r3 = random_.Next();
             (r2 <= 0.15 || mover.Soldiers <= turn || (turn <= 10 && r3 <= 0.1)) && mover.Money >= 1) {
    action = Hire;
    value = DrawHalfToAll(mover.Money, 1);
  } else if (const double r4 = random_.Next();
             r4 <= 0.5 && mover.Money >= WeaponDevelopCost[std::clamp<int>(mover.Weapon, 0, kWeaponLevels)] &&
             mover.Weapon < kWeaponLimit) {
    action = DevelopWeapon;
  } else if (const double r5 = random_.Next(); r5 <= 0.25 && mover.Money >= 10) {
    action = Develop;
    value = DrawHalfToAll(static_cast<i16>(mover.Money / 10), 10);
  } else if (const double r6 = random_.Next(), r7 = random_.Next();
             (r6 <= 0.2 || (turn <= 10 && r7 <= 0.1)) && mover.Money >= 10) {
    action = Train;
    value = DrawHalfToAll(static_cast<i16>(mover.Money / 10), 10);
  } else {
    // A random attack on any district of another faction. With a single
    // faction left on the board there is nobody to attack.
    bool anyEnemy = false;
    for (const auto& d : districts) anyEnemy = anyEnemy || d.Owner != mover.Owner;
    if (!anyEnemy) return;
    do {
      target = static_cast<i16>(random_.Next() * kDistrictCount);
    } while (districts[target].Owner == mover.Owner);
    action = Attack;
    if (random_.Next() <= 0.4 && CanUse(mover, 5)) {
      value = 5;
    } else if (random_.Next() <= 0.4 && CanUse(mover, 4)) {
      value = 4;
    } else if (random_.Next() <= 0.4 && CanUse(mover, 3)) {
      value = 3;
    } else if (random_.Next() <= 0.5 && CanUse(mover, 2)) {
      value = 2;
    } else {
      value = 1;
    }
  }
  ExecuteAction(action, value, target);
}

}  // namespace yuunagi
