#include "rules/RuleBook.h"

#include <cmath>

#include "core/Int16.h"

namespace yuunagi {
namespace {

bool OnBoard(int i) { return i >= 0 && i < kDistrictCount; }

}  // namespace

std::string_view ActionCheck::Text() const {
  switch (refusal) {
    case Refusal::NoMoreWeapons: return "これ以上、開発できません。";
    case Refusal::NotEnoughMoney:
      // The weapon panel, the 武器開発 button and the amount panel each word it their own way.
      if (action == Action::Attack) return "金が足りません。";
      if (action == Action::DevelopWeapon) return "お金が足りません。";
      return "お金が足りません!!";
    default: return {};
  }
}

i16 Damage(i16 strength, int weaponLevel) {
  return Saturate16(
      static_cast<long long>(std::floor(static_cast<double>(strength) * DamageFactor[weaponLevel - 1])));
}

ActionCheck CheckWeaponChoice(const DistrictRecord& mover, int level) {
  ActionCheck check{Action::Attack, Refusal::None};
  if (level < 1 || level > kWeaponLevels || level > mover.Weapon) {
    check.refusal = Refusal::NoSuchWeapon;
  } else if (mover.Money < AttackCost[level - 1]) {
    check.refusal = Refusal::NotEnoughMoney;
  }
  return check;
}

long long AmountPrice(Action action, long long amount) {
  return action == Action::Hire ? amount : 10 * amount;
}

bool CanAttackWith(const DistrictRecord& d, int level) {
  return static_cast<bool>(CheckWeaponChoice(d, level));
}

bool IsEnemyDistrict(const Board& board, int target) {
  const auto& districts = board.Districts;
  return OnBoard(target) && OnBoard(districts[target].Owner) &&
         districts[target].Owner != districts[board.CurrentDistrict].Owner;
}

ActionCheck CheckBoardAction(const Board& board, Action action, i16 value, i16 target) {
  ActionCheck check{action, Refusal::None};
  const auto refuse = [&](Refusal r) {
    check.refusal = r;
    return check;
  };
  if (!OnBoard(board.CurrentDistrict)) return refuse(Refusal::WrongPhase);
  const DistrictRecord& mover = board.Mover();
  if (!OnBoard(mover.Owner)) return refuse(Refusal::WrongPhase);
  switch (action) {
    case Action::Attack:
      if (const ActionCheck weapon = CheckWeaponChoice(mover, value); !weapon) return weapon;
      if (!IsEnemyDistrict(board, target)) return refuse(Refusal::NotATarget);
      return check;
    case Action::Collect: return check;
    case Action::Develop:
    case Action::Hire:
    case Action::Train:
      if (value < 1) return refuse(Refusal::BadAmount);
      if (mover.Money < AmountPrice(action, value)) return refuse(Refusal::NotEnoughMoney);
      return check;
    case Action::DevelopWeapon:
      if (mover.Weapon >= kWeaponLimit) return refuse(Refusal::NoMoreWeapons);
      if (mover.Weapon < 0 || mover.Money < WeaponDevelopCost[mover.Weapon]) {
        return refuse(Refusal::NotEnoughMoney);
      }
      return check;
    default: return refuse(Refusal::UnknownAction);
  }
}

}  // namespace yuunagi
