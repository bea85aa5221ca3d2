// The peaceful actions: collecting from the people, developing the town,
// hiring and training soldiers, developing the next weapon.
#include <cmath>

#include "core/Int16.h"
#include "rules/ActionResolver.h"
#include "rules/RuleBook.h"

namespace yuunagi {

void ActionResolver::Collect() {
  DistrictRecord& mover = Mover();
  const i16 gain = Add16(static_cast<long long>(std::floor(mover.Development * random_.Next())), 1);
  mover.Money = Limit16(Add16(mover.Money, gain), kMoneyLimit);
  report_.append("民から");
  AppendNumber(gain);
  report_.append("の金を集金した。");
  host_.RefreshDistrictPanel(data_.CurrentDistrict);
}

// Develop, hire and train: the full price is paid even when the limit cuts
// the gain, and the report names the amount asked for.
void ActionResolver::Buy(i16 action, i16& field, i16 amount, i16 limit, std::string_view before,
                         std::string_view after) {
  DistrictRecord& mover = Mover();
  mover.Money = Sub16(mover.Money, AmountPrice(action, amount));
  field = Limit16(Add16(field, amount), limit);
  report_.append(before);
  AppendNumber(amount);
  report_.append(after);
  host_.RefreshDistrictPanel(data_.CurrentDistrict);
}

void ActionResolver::DevelopWeapon() {
  DistrictRecord& mover = Mover();
  mover.Money = Sub16(mover.Money, WeaponDevelopCost[mover.Weapon]);
  mover.Weapon = Add16(mover.Weapon, 1);
  report_.append("新しい武器を開発した。");
  host_.RefreshDistrictPanel(data_.CurrentDistrict);
}

}  // namespace yuunagi
