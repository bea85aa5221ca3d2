// The turn cycle: every district moves once per turn in index order; the
// computer plays the districts nobody plays, humans get the action menu; each
// new turn begins with every district's income.
#include "core/Engine.h"
#include "core/Int16.h"

namespace yuunagi {

bool Engine::StartGame() {
  const auto inBoard = [](int i) { return i >= 0 && i < kDistrictCount; };
  if (!inBoard(data_.CurrentDistrict)) return false;
  for (const DistrictRecord& d : data_.Districts) {
    if (!inBoard(d.Owner)) return false;
  }
  finished_ = false;
  winner_ = -1;
  data_.GameState = State::Moving;
  for (int i = 0; i < kDistrictCount; ++i) {
    DistrictRecord& d = data_.Districts[i];
    d.Money = Limit16(d.Money, kMoneyLimit);
    d.Soldiers = Limit16(d.Soldiers, kSoldiersLimit);
    d.Strength = Limit16(d.Strength, kStrengthLimit);
    d.Development = Limit16(d.Development, kDevelopmentLimit);
    d.Weapon = Limit16(d.Weapon, kWeaponLimit);
    host_.RefreshDistrictPanel(i);
  }
  host_.DrawDistrictEmblems();
  host_.ShowGameScreen(data_.ScenarioName);
  host_.ShowTurnNumber(data_.TurnNumber);
  host_.SetMessage("戦闘開始!!");
  host_.Yield();
  host_.PlayMusic(data_.MusicName);
  BeginMove();
  return true;
}

void Engine::BeginMove() {
  if (finished_) return;
  const int current = data_.CurrentDistrict;
  const int owner = data_.Districts[current].Owner;
  host_.ShowStrategyOf(owner);
  host_.HighlightMover(current, true);
  if (IsHumanFaction(owner)) {
    host_.ShowActionMenu(data_.PlayerOfFaction[owner]);
    return;
  }
  ChooseComputerAction();
  if (finished_) return;
  host_.Yield();
  host_.ScheduleNextMove(data_.GameSpeed / 1000.0f);
}

void Engine::NextMove() {
  if (finished_) return;
  data_.GameState = State::Moving;
  host_.HighlightMover(data_.CurrentDistrict, false);
  data_.CurrentDistrict = static_cast<i16>((data_.CurrentDistrict + 1) % kDistrictCount);
  if (data_.CurrentDistrict != 0) {
    BeginMove();
    return;
  }
  data_.TurnNumber = Add16(data_.TurnNumber, 1);
  host_.ShowTurnNumber(data_.TurnNumber);
  for (int i = 0; i < kDistrictCount; ++i) {
    DistrictRecord& d = data_.Districts[i];
    // Formed wide, so a district somehow past the money limit cannot overflow.
    const long long income = static_cast<long long>(d.Money) + d.Development;
    d.Money = Saturate16(income > kMoneyLimit ? kMoneyLimit : income);
    host_.RefreshDistrictPanel(i);
  }
  host_.Yield();
  BeginMove();
}

}  // namespace yuunagi
