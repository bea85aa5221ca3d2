// The peaceful actions: collecting from the people, developing the town,
// hiring and training soldiers, developing the next weapon.
#include <cmath>

#include "core/Int16.h"
#include "rules/ActionResolver.h"
#include "rules/RuleBook.h"

namespace yuunagi {

void ApplyCollect(Board& board, RandomSource& random, ActionReport& report) {
  DistrictRecord& mover = board.Mover();
  const i16 gain = Add16(static_cast<long long>(std::floor(mover.Development * random.Next())), 1);
  mover.Money = Limit16(Add16(mover.Money, gain), kMoneyLimit);
  report.amount = gain;
}

// Develop, hire and train: the full price is paid even when the limit cuts
// the gain, and the report names the amount asked for.
void ApplyPurchase(Board& board, Action action, i16 amount, ActionReport& report) {
  DistrictRecord& mover = board.Mover();
  i16& field = action == Action::Develop ? mover.Development
               : action == Action::Hire  ? mover.Soldiers
                                         : mover.Strength;
  const i16 limit = action == Action::Develop ? kDevelopmentLimit
                    : action == Action::Hire  ? kSoldiersLimit
                                              : kStrengthLimit;
  mover.Money = Sub16(mover.Money, AmountPrice(action, amount));
  field = Limit16(Add16(field, amount), limit);
  report.amount = amount;
}

void ApplyWeaponDevelopment(Board& board, ActionReport& report) {
  DistrictRecord& mover = board.Mover();
  mover.Money = Sub16(mover.Money, WeaponDevelopCost[mover.Weapon]);
  mover.Weapon = Add16(mover.Weapon, 1);
  report.weaponLevel = static_cast<std::int8_t>(mover.Weapon);
}

}  // namespace yuunagi
