#include "rules/ActionResolver.h"

#include <charconv>

namespace yuunagi {

ActionOutcome ActionResolver::Resolve(i16 action, i16 value, i16 target) {
  report_.clear();
  switch (action) {
    case yuunagi::Attack: return Attack(value, target);
    case yuunagi::Collect: Collect(); break;
    case Develop: Buy(action, Mover().Development, value, kDevelopmentLimit, "開発が", "あがった。"); break;
    case Hire: Buy(action, Mover().Soldiers, value, kSoldiersLimit, "兵士を", "雇った。"); break;
    case Train: Buy(action, Mover().Strength, value, kStrengthLimit, "兵士の強さが", "あがった。"); break;
    case yuunagi::DevelopWeapon: DevelopWeapon(); break;
    default: break;
  }
  return {};
}

void ActionResolver::AppendNumber(int value) {
  char buffer[16];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  report_.append(buffer, end);
}

}  // namespace yuunagi
