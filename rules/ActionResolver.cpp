#include "rules/ActionResolver.h"

#include "core/Int16.h"

namespace yuunagi {

ActionReport ApplyAction(Board& board, Action action, i16 value, i16 target, RandomSource& random) {
  ActionReport report;
  report.turn = board.TurnNumber;
  report.action = action;
  report.moverDistrict = static_cast<std::int8_t>(board.CurrentDistrict);
  report.moverFaction = static_cast<std::int8_t>(board.Mover().Owner);
  switch (action) {
    case Action::Attack: ApplyAttack(board, value, target, random, report); break;
    case Action::Collect: ApplyCollect(board, random, report); break;
    case Action::Develop:
    case Action::Hire:
    case Action::Train: ApplyPurchase(board, action, value, report); break;
    case Action::DevelopWeapon: ApplyWeaponDevelopment(board, report); break;
  }
  return report;
}

bool AdvanceMover(Board& board) {
  board.CurrentDistrict = static_cast<i16>((board.CurrentDistrict + 1) % kDistrictCount);
  if (board.CurrentDistrict != 0) return false;
  board.TurnNumber = Add16(board.TurnNumber, 1);
  for (DistrictRecord& d : board.Districts) {
    // Formed wide, so a district somehow past the money limit cannot overflow.
    const long long income = static_cast<long long>(d.Money) + d.Development;
    d.Money = Saturate16(income > kMoneyLimit ? kMoneyLimit : income);
  }
  return true;
}

}  // namespace yuunagi
