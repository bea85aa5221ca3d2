// An attack: its price, its damage, the attacker's chance to grow stronger,
// and a capture with what follows it (destruction of a faction, victory).
#include "core/Int16.h"
#include "rules/ActionResolver.h"
#include "rules/RuleBook.h"

namespace yuunagi {
namespace {

// Chance that an attack makes the attacker's soldiers 1 stronger.
constexpr double kStrengthGainChance = 0.5;

void Capture(Board& board, DistrictRecord& victim, ActionReport& report) {
  DistrictRecord& mover = board.Mover();
  const int old = victim.Owner;
  report.captured = true;
  victim.Owner = mover.Owner;
  // Half the army moves in and half stays; an odd soldier is lost. Int rounds
  // down, so a negative army halves towards minus infinity.
  mover.Soldiers = static_cast<i16>(mover.Soldiers >= 0 ? mover.Soldiers / 2 : -((-mover.Soldiers + 1) / 2));
  victim.Soldiers = mover.Soldiers;

  const auto& districts = board.Districts;
  bool wholeTown = true;
  bool oldSurvives = false;
  for (const DistrictRecord& d : districts) {
    wholeTown = wholeTown && d.Owner == districts[0].Owner;
    oldSurvives = oldSurvives || d.Owner == old;
  }
  if (wholeTown) {
    report.victory = true;
  } else if (!oldSurvives) {
    report.destroyedFaction = static_cast<std::int8_t>(old);
    if (board.IsHumanFaction(old)) board.PlayerCount = Sub16(board.PlayerCount, 1);
  }
}

}  // namespace

void ApplyAttack(Board& board, i16 level, i16 target, RandomSource& random, ActionReport& report) {
  DistrictRecord& mover = board.Mover();
  DistrictRecord& victim = board.Districts[target];
  report.weaponLevel = static_cast<std::int8_t>(level);
  report.target = static_cast<std::int8_t>(target);
  report.targetFaction = static_cast<std::int8_t>(victim.Owner);
  mover.Money = Sub16(mover.Money, AttackCost[level - 1]);
  const i16 damage = Damage(mover.Strength, level);
  victim.Soldiers = Sub16(victim.Soldiers, damage);
  if (random.Next() <= kStrengthGainChance) mover.Strength = Add16(mover.Strength, 1);
  report.damage = damage;
  if (victim.Soldiers <= 0) Capture(board, victim, report);
}

}  // namespace yuunagi
