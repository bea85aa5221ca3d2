#include "rules/ComputerStrategy.h"

#include <cmath>

#include "core/Int16.h"
#include "rules/RuleBook.h"

namespace yuunagi {
namespace {

// The chances of the chain; each test passes when the draw is at most its value.
constexpr double kCollectChance = 0.2;
constexpr double kHireChance = 0.15;
constexpr double kEarlyHireChance = 0.1;
constexpr double kNewWeaponChance = 0.5;
constexpr double kDevelopChance = 0.25;
constexpr double kTrainChance = 0.2;
constexpr double kEarlyTrainChance = 0.1;
constexpr double kHeavyWeaponChance = 0.4;  // nuclear missile, missile, gun
constexpr double kSwordChance = 0.5;
// Turns in which hiring and training get their extra early chance.
constexpr int kEarlyTurns = 10;

// Int(x) of an amount computed in floating point.
long long Floor(double x) { return static_cast<long long>(std::floor(x)); }

bool Legal(const Board& board, Action action, i16 value) {
  return static_cast<bool>(CheckBoardAction(board, action, value, 0));
}

// An amount from a little over half to all of what `units` can buy:
// h = Int(units / 2), n = h + 1 + Int(h * r), drawn again while it costs more
// than the district's money.
i16 DrawHalfToAll(const Board& board, RandomSource& random, Action action, i16 units) {
  const DistrictRecord& mover = board.Districts[board.CurrentDistrict];
  for (;;) {
    const long long h = Floor(units / 2.0);
    const long long n = h + 1 + Floor(static_cast<double>(h) * random.Next());
    if (AmountPrice(action, n) <= mover.Money) return Saturate16(n);
  }
}

i16 RandomEnemyDistrict(const Board& board, RandomSource& random) {
  for (;;) {
    const i16 t = static_cast<i16>(random.Next() * kDistrictCount);
    if (IsEnemyDistrict(board, t)) return t;
  }
}

// The random attack's weapon: a chance for each heavy weapon from the top,
// then the sword, else fists. Every test draws, paid for or not.
i16 RandomAttackWeapon(const DistrictRecord& mover, RandomSource& random) {
  for (int level = kWeaponLevels; level >= 3; --level) {
    if (random.Next() <= kHeavyWeaponChance && CanAttackWith(mover, level)) return static_cast<i16>(level);
  }
  if (random.Next() <= kSwordChance && CanAttackWith(mover, 2)) return 2;
  return 1;
}

}  // namespace

i16 ComputerStrategy::BestDamage(const Board& board, i16 district) {
  const DistrictRecord& d = board.Districts[district];
  for (int level = kWeaponLevels; level >= 1; --level) {
    if (CanAttackWith(d, level)) return Damage(d.Strength, level);
  }
  return 0;
}

i16 ComputerStrategy::FindCapturableTarget(const Board& board, RandomSource& random) {
  const i16 reach = BestDamage(board, board.CurrentDistrict);
  for (int attempt = 0; attempt < 10; ++attempt) {
    const int t = static_cast<int>(random.Next() * kDistrictCount);
    if (IsEnemyDistrict(board, t) && board.Districts[t].Soldiers <= reach) return static_cast<i16>(t);
  }
  return NoTarget;
}

i16 ComputerStrategy::ChooseCapturingWeapon(const Board& board, i16 attacker, i16 target) {
  const DistrictRecord& a = board.Districts[attacker];
  const DistrictRecord& t = board.Districts[target];
  for (int level = 1; level <= 4; ++level) {
    if (CanAttackWith(a, level) && Damage(a.Strength, level) >= t.Soldiers) return static_cast<i16>(level);
  }
  return 5;
}

std::optional<Decision> ComputerStrategy::Decide(const Board& board, RandomSource& random) {
  const DistrictRecord& mover = board.Districts[board.CurrentDistrict];
  const int turn = board.TurnNumber;
  const bool early = turn <= kEarlyTurns;
  Decision d;
  d.target = FindCapturableTarget(board, random);
  if (mover.Soldiers > 2 * turn && d.target != NoTarget) {
    d.action = Action::Attack;
    d.value = ChooseCapturingWeapon(board, board.CurrentDistrict, d.target);
  } else if (const double r1 = random.Next(); r1 <= kCollectChance && mover.Development > 0) {
    d.action = Action::Collect;
  } else if (const double r2 = random.Next(), r3 = random.Next();
             (r2 <= kHireChance || mover.Soldiers <= turn || (early && r3 <= kEarlyHireChance)) &&
             Legal(board, Action::Hire, 1)) {
    d.action = Action::Hire;
    d.value = DrawHalfToAll(board, random, Action::Hire, mover.Money);
  } else if (const double r4 = random.Next();
             r4 <= kNewWeaponChance && Legal(board, Action::DevelopWeapon, 0)) {
    d.action = Action::DevelopWeapon;
  } else if (const double r5 = random.Next(); r5 <= kDevelopChance && Legal(board, Action::Develop, 1)) {
    d.action = Action::Develop;
    d.value = DrawHalfToAll(board, random, Action::Develop, static_cast<i16>(mover.Money / 10));
  } else if (const double r6 = random.Next(), r7 = random.Next();
             (r6 <= kTrainChance || (early && r7 <= kEarlyTrainChance)) && Legal(board, Action::Train, 1)) {
    d.action = Action::Train;
    d.value = DrawHalfToAll(board, random, Action::Train, static_cast<i16>(mover.Money / 10));
  } else {
    // A random attack on any district of another faction. With a single
    // faction left on the board there is nobody to attack.
    bool anyEnemy = false;
    for (int t = 0; t < kDistrictCount; ++t) anyEnemy = anyEnemy || IsEnemyDistrict(board, t);
    if (!anyEnemy) return std::nullopt;
    d.target = RandomEnemyDistrict(board, random);
    d.action = Action::Attack;
    d.value = RandomAttackWeapon(mover, random);
  }
  return d;
}

}  // namespace yuunagi
