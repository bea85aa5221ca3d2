// Filling the board from a scenario or a save slot, and a save slot from the board.
#include "core/Engine.h"
#include "media/Text.h"

namespace yuunagi {

bool Engine::StartNewGameFromScenario() {
  const ScenarioRecord& s = data_.Scenario;
  for (int i = 0; i < kDistrictCount; ++i) {
    data_.Districts[i] = DistrictRecord{s.StartOwner[i],    s.StartMoney[i],  s.StartSoldiers[i],
                                        s.StartStrength[i], s.StartWeapon[i], s.StartDevelopment[i]};
  }
  data_.MusicName = FitText(s.Music, 16);
  data_.TurnNumber = s.StartTurn;
  data_.CurrentDistrict = 0;
  return StartGame();
}

void Engine::FillSaveData() {
  SaveRecord& s = data_.SaveData;
  for (int i = 0; i < kDistrictCount; ++i) {
    const DistrictRecord& d = data_.Districts[i];
    s.Owner[i] = d.Owner;
    s.Money[i] = d.Money;
    s.Soldiers[i] = d.Soldiers;
    s.Strength[i] = d.Strength;
    s.Weapon[i] = d.Weapon;
    s.Development[i] = d.Development;
    s.PlayerOfFaction[i] = data_.PlayerOfFaction[i];
  }
  s.ScenarioName = FitText(data_.ScenarioName, 20);
  s.MusicName = FitText(data_.MusicName, 20);
  s.TurnNumber = data_.TurnNumber;
  s.CurrentDistrict = data_.CurrentDistrict;
  s.PlayerCount = data_.PlayerCount;
}

bool Engine::ContinueFromSaveData() {
  const SaveRecord& s = data_.SaveData;
  data_.ScenarioName = FitText(s.ScenarioName, 14);
  for (int i = 0; i < kDistrictCount; ++i) {
    data_.Districts[i] =
        DistrictRecord{s.Owner[i], s.Money[i], s.Soldiers[i], s.Strength[i], s.Weapon[i], s.Development[i]};
    data_.PlayerOfFaction[i] = s.PlayerOfFaction[i];
  }
  data_.MusicName = FitText(s.MusicName, 14);
  data_.TurnNumber = s.TurnNumber;
  data_.PlayerCount = s.PlayerCount;
  data_.CurrentDistrict = s.CurrentDistrict;
  return StartGame();
}

}  // namespace yuunagi
