#include "files/Playability.h"

#include <gtest/gtest.h>

namespace yuunagi {
namespace {

ScenarioRecord PlayableScenario() {
  ScenarioRecord s;
  s.StartOwner = {0, 1, 2, 3, 4, 5};
  s.StartWeapon = {1, 1, 1, 1, 1, 1};
  return s;
}

// Two players on factions 1 and 2; faction 0 holds districts 0 and 3.
SaveRecord PlayableSave() {
  SaveRecord s;
  s.TurnNumber = 4;
  s.Owner = {0, 1, 2, 0, 4, 5};
  s.Weapon = {1, 2, 3, 4, 5, 1};
  s.PlayerOfFaction = {0, 1, 2, 0, 0, 0};
  s.PlayerCount = 2;
  return s;
}

TEST(CheckScenario, AcceptsWhatTheGameCanPlay) {
  EXPECT_EQ(CheckScenario(PlayableScenario()), std::nullopt);
  ScenarioRecord s = PlayableScenario();
  s.StartOwner = {2, 2, 4, 4, 2, 2};      // two factions are enough
  s.StartWeapon = {9, 5, 1, 1, 1, 1};     // above 5 is cut to 5 when the game starts
  s.StartMoney = {20000, 0, 0, 0, 0, 0};  // cut to 10000 when the game starts
  s.StartSoldiers = {-5, 0, 0, 0, 0, 0};  // soldiers and strength are not judged
  s.StartStrength = {-1000, 0, 0, 0, 0, 0};
  EXPECT_EQ(CheckScenario(s), std::nullopt);
}

TEST(CheckScenario, NamesTheFieldAndTheDistrict) {
  ScenarioRecord s = PlayableScenario();
  s.StartOwner[3] = 9;
  EXPECT_EQ(CheckScenario(s), "StartOwner(3) が 9 です。勢力は 0～5 で指定してください。");
  s.StartOwner[3] = -1;
  EXPECT_EQ(CheckScenario(s), "StartOwner(3) が -1 です。勢力は 0～5 で指定してください。");
  s = PlayableScenario();
  s.StartWeapon[5] = 0;
  EXPECT_EQ(CheckScenario(s), "StartWeapon(5) が 0 です。武器は 1 以上で指定してください。");
  s = PlayableScenario();
  s.StartMoney[2] = -5;
  EXPECT_EQ(CheckScenario(s), "StartMoney(2) が -5 です。金は 0 以上で指定してください。");
  s = PlayableScenario();
  s.StartDevelopment[4] = -1;
  EXPECT_EQ(CheckScenario(s), "StartDevelopment(4) が -1 です。開発は 0 以上で指定してください。");
  s = PlayableScenario();
  s.StartOwner = {1, 1, 1, 1, 1, 1};
  EXPECT_EQ(CheckScenario(s),
            "StartOwner がすべて 1 (ソラノ) です。2 つ以上の勢力に地区を持たせてください。");
  // An empty (all-zero) scenario fails on its weapons first.
  EXPECT_EQ(CheckScenario(ScenarioRecord{}), "StartWeapon(0) が 0 です。武器は 1 以上で指定してください。");
}

TEST(CheckSave, AcceptsGamesInProgress) {
  EXPECT_EQ(CheckSave(PlayableSave()), std::nullopt);
  // Player 1's faction has fallen: it keeps its number but no longer counts.
  SaveRecord s = PlayableSave();
  s.Owner = {0, 2, 2, 0, 4, 5};
  s.PlayerCount = 1;
  EXPECT_EQ(CheckSave(s), std::nullopt);
  // Nobody joined: every faction is the computer's.
  s.PlayerOfFaction = {};
  s.PlayerCount = 10;
  EXPECT_EQ(CheckSave(s), std::nullopt);
}

TEST(CheckSave, RejectsWhatTheGameCannotContinue) {
  SaveRecord s = PlayableSave();
  s.Owner[4] = 6;
  EXPECT_EQ(CheckSave(s), "Owner(4) が 6 です。勢力は 0～5 で指定してください。");
  s = PlayableSave();
  s.Weapon[2] = -3;
  EXPECT_EQ(CheckSave(s), "Weapon(2) が -3 です。武器は 1 以上で指定してください。");
  s = PlayableSave();
  s.Money[0] = -1;
  EXPECT_EQ(CheckSave(s), "Money(0) が -1 です。金は 0 以上で指定してください。");
  s = PlayableSave();
  s.Development[5] = -2;
  EXPECT_EQ(CheckSave(s), "Development(5) が -2 です。開発は 0 以上で指定してください。");
  s = PlayableSave();
  s.CurrentDistrict = 6;
  EXPECT_EQ(CheckSave(s), "CurrentDistrict が 6 です。地区は 0～5 で指定してください。");
  s = PlayableSave();
  s.PlayerCount = 10;
  EXPECT_EQ(CheckSave(s),
            "PlayerOfFaction(1) が 1 です。PlayerCount が 10 (観戦) のときは、すべて 0 にしてください。");
  s = PlayableSave();
  s.PlayerCount = 0;
  EXPECT_EQ(CheckSave(s), "PlayerCount が 0 です。人数は 1～6 か、観戦なら 10 で指定してください。");
  s.PlayerCount = 7;
  EXPECT_EQ(CheckSave(s), "PlayerCount が 7 です。人数は 1～6 か、観戦なら 10 で指定してください。");
  s = PlayableSave();
  s.PlayerOfFaction[5] = 7;
  EXPECT_EQ(CheckSave(s), "PlayerOfFaction(5) が 7 です。プレイヤー番号は 0～6 で指定してください。");
  s = PlayableSave();
  s.PlayerOfFaction[4] = 2;
  EXPECT_EQ(CheckSave(s),
            "PlayerOfFaction(4) が PlayerOfFaction(2) と同じ 2 "
            "です。プレイヤー番号は重ならないようにしてください。");
  s = PlayableSave();
  s.PlayerCount = 3;
  EXPECT_EQ(CheckSave(s),
            "PlayerCount が 3 ですが、地区を持つ人間の勢力は 2 つです。PlayerCount はその数にしてください。");
  s = PlayableSave();
  s.Owner = {0, 0, 0, 0, 0, 0};
  EXPECT_EQ(CheckSave(s), "Owner がすべて 0 (ヒノデ) です。2 つ以上の勢力に地区を持たせてください。");
}

}  // namespace
}  // namespace yuunagi
