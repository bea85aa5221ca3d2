// An attack: its price, its damage, the attacker's chance to grow stronger,
// and a capture with what follows it (destruction of a faction, victory).
#include <string_view>

#include "core/Int16.h"
#include "rules/ActionResolver.h"
#include "rules/RuleBook.h"

namespace yuunagi {
namespace {

constexpr std::string_view kAttackVerbs[kWeaponLevels] = {
    "を殴った。", "を斬りつけた。", "に銃を乱射した。", "にミサイルをはなった。", "に核ミサイルをはなった。"};

// Chance that an attack makes the attacker's soldiers 1 stronger.
constexpr double kStrengthGainChance = 0.5;

}  // namespace

ActionOutcome ActionResolver::Attack(i16 level, i16 target) {
  DistrictRecord& mover = Mover();
  DistrictRecord& victim = data_.Districts[target];
  mover.Money = Sub16(mover.Money, AttackCost[level - 1]);
  report_.append(FactionNames[victim.Owner]).append(kAttackVerbs[level - 1]);
  const i16 damage = Damage(mover.Strength, level);
  victim.Soldiers = Sub16(victim.Soldiers, damage);
  if (random_.Next() <= kStrengthGainChance) mover.Strength = Add16(mover.Strength, 1);
  AppendNumber(damage);
  report_.append("のダメージ!!");
  ActionOutcome outcome;
  if (victim.Soldiers <= 0) outcome = Capture(victim);
  host_.RefreshDistrictPanel(target);
  host_.RefreshDistrictPanel(data_.CurrentDistrict);
  return outcome;
}

ActionOutcome ActionResolver::Capture(DistrictRecord& victim) {
  DistrictRecord& mover = Mover();
  const int old = victim.Owner;
  report_.append(FactionNames[old]).append("を占領した!!");
  victim.Owner = mover.Owner;
  // Half the army moves in and half stays; an odd soldier is lost. Int rounds
  // down, so a negative army halves towards minus infinity.
  mover.Soldiers = static_cast<i16>(mover.Soldiers >= 0 ? mover.Soldiers / 2 : -((-mover.Soldiers + 1) / 2));
  victim.Soldiers = mover.Soldiers;
  host_.DrawDistrictEmblems();

  ActionOutcome outcome;
  const auto& districts = data_.Districts;
  bool wholeTown = true;
  bool oldSurvives = false;
  for (const DistrictRecord& d : districts) {
    wholeTown = wholeTown && d.Owner == districts[0].Owner;
    oldSurvives = oldSurvives || d.Owner == old;
  }
  if (wholeTown) {
    data_.GameState = State::Victory;
  } else if (!oldSurvives) {
    outcome.destroyedFaction = old;
    if (IsHumanFaction(old)) data_.PlayerCount = Sub16(data_.PlayerCount, 1);
    data_.GameState = data_.PlayerCount == 0 ? State::LastHumanDestroyed : State::FactionDestroyed;
  }
  return outcome;
}

}  // namespace yuunagi
