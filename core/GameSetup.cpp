#include "core/GameSetup.h"

#include "files/Text.h"

namespace yuunagi {

void LoadScenarioBoard(const ScenarioRecord& s, GameData& data) {
  for (int i = 0; i < kDistrictCount; ++i) {
    data.Districts[i] = DistrictRecord{s.StartOwner[i],    s.StartMoney[i],  s.StartSoldiers[i],
                                       s.StartStrength[i], s.StartWeapon[i], s.StartDevelopment[i]};
  }
  data.MusicName = FitText(s.Music, 16);
  data.TurnNumber = s.StartTurn;
  data.CurrentDistrict = 0;
}

SaveRecord MakeSaveRecord(const GameData& data) {
  SaveRecord s;
  for (int i = 0; i < kDistrictCount; ++i) {
    const DistrictRecord& d = data.Districts[i];
    s.Owner[i] = d.Owner;
    s.Money[i] = d.Money;
    s.Soldiers[i] = d.Soldiers;
    s.Strength[i] = d.Strength;
    s.Weapon[i] = d.Weapon;
    s.Development[i] = d.Development;
    s.PlayerOfFaction[i] = data.PlayerOfFaction[i];
  }
  s.ScenarioName = FitText(data.ScenarioName, 20);
  s.MusicName = FitText(data.MusicName, 20);
  s.TurnNumber = data.TurnNumber;
  s.CurrentDistrict = data.CurrentDistrict;
  s.PlayerCount = data.PlayerCount;
  return s;
}

void LoadSavedGame(const SaveRecord& s, GameData& data) {
  data.ScenarioName = FitText(s.ScenarioName, 14);
  for (int i = 0; i < kDistrictCount; ++i) {
    data.Districts[i] =
        DistrictRecord{s.Owner[i], s.Money[i], s.Soldiers[i], s.Strength[i], s.Weapon[i], s.Development[i]};
    data.PlayerOfFaction[i] = s.PlayerOfFaction[i];
  }
  data.MusicName = FitText(s.MusicName, 14);
  data.TurnNumber = s.TurnNumber;
  data.PlayerCount = s.PlayerCount;
  data.CurrentDistrict = s.CurrentDistrict;
}

}  // namespace yuunagi
