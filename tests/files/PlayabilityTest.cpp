// Which scenarios and saves the game can play, and the line that says why not.
#include "files/Playability.h"

#include <gtest/gtest.h>

#include <functional>

#include "TestFiles.h"

namespace yuunagi {
namespace {

using testing::SampleSave;
using testing::SampleScenario;

template <typename Record>
struct Case {
  std::function<void(Record&)> change;
  std::optional<std::string> problem;  // nullopt: still playable
};

TEST(Playability, ScenariosNameTheFieldAndTheDistrictAtFault) {
  using S = ScenarioRecord;
  const std::vector<Case<S>> cases = {
      {[](S&) {}, std::nullopt},
      {[](S& s) { s.StartOwner = {2, 2, 4, 4, 2, 2}; }, std::nullopt},  // two factions are enough
      {[](S& s) { s.StartWeapon[0] = 9; }, std::nullopt},               // cut to 5 when the game starts
      {[](S& s) { s.StartSoldiers[0] = -5, s.StartStrength[1] = -1000; }, std::nullopt},
      {[](S& s) { s.StartOwner[3] = 6; }, "StartOwner(3) が 6 です。勢力は 0～5 で指定してください。"},
      {[](S& s) { s.StartOwner[3] = -1; }, "StartOwner(3) が -1 です。勢力は 0～5 で指定してください。"},
      {[](S& s) { s.StartWeapon[5] = 0; }, "StartWeapon(5) が 0 です。武器は 1 以上で指定してください。"},
      {[](S& s) { s.StartMoney[2] = -1; }, "StartMoney(2) が -1 です。金は 0 以上で指定してください。"},
      {[](S& s) { s.StartDevelopment[4] = -1; },
       "StartDevelopment(4) が -1 です。開発は 0 以上で指定してください。"},
      {[](S& s) { s.StartOwner = {1, 1, 1, 1, 1, 1}; },
       "StartOwner がすべて 1 (ソラノ) です。2 つ以上の勢力に地区を持たせてください。"},
      {[](S& s) { s = S{}; }, "StartWeapon(0) が 0 です。武器は 1 以上で指定してください。"},
  };
  for (const Case<S>& c : cases) {
    S s = SampleScenario();
    c.change(s);
    EXPECT_EQ(CheckScenario(s), c.problem);
  }
}

TEST(Playability, SavesNameTheFieldAndTheDistrictAtFault) {
  using V = SaveRecord;
  const std::vector<Case<V>> cases = {
      {[](V&) {}, std::nullopt},
      {[](V& s) { s.Owner = {0, 3, 3, 3, 4, 5}, s.PlayerCount = 1; }, std::nullopt},  // player 1 has fallen
      {[](V& s) { s.PlayerOfFaction = {}, s.PlayerCount = 10; }, std::nullopt},       // a spectator game
      {[](V& s) { s.Owner[4] = 6; }, "Owner(4) が 6 です。勢力は 0～5 で指定してください。"},
      {[](V& s) { s.Weapon[2] = 0; }, "Weapon(2) が 0 です。武器は 1 以上で指定してください。"},
      {[](V& s) { s.Money[0] = -1; }, "Money(0) が -1 です。金は 0 以上で指定してください。"},
      {[](V& s) { s.Development[5] = -2; }, "Development(5) が -2 です。開発は 0 以上で指定してください。"},
      {[](V& s) { s.CurrentDistrict = 6; }, "CurrentDistrict が 6 です。地区は 0～5 で指定してください。"},
      {[](V& s) { s.CurrentDistrict = -1; }, "CurrentDistrict が -1 です。地区は 0～5 で指定してください。"},
      {[](V& s) { s.PlayerCount = 10; },
       "PlayerOfFaction(1) が 1 です。PlayerCount が 10 (観戦) のときは、すべて 0 にしてください。"},
      {[](V& s) { s.PlayerCount = 0; },
       "PlayerCount が 0 です。人数は 1～6 か、観戦なら 10 で指定してください。"},
      {[](V& s) { s.PlayerCount = 7; },
       "PlayerCount が 7 です。人数は 1～6 か、観戦なら 10 で指定してください。"},
      {[](V& s) { s.PlayerOfFaction[5] = 7; },
       "PlayerOfFaction(5) が 7 です。プレイヤー番号は 0～6 で指定してください。"},
      {[](V& s) { s.PlayerOfFaction[4] = 2; },
       "PlayerOfFaction(4) が PlayerOfFaction(3) と同じ 2 "
       "です。プレイヤー番号は重ならないようにしてください。"},
      {[](V& s) { s.PlayerCount = 3; },
       "PlayerCount が 3 ですが、地区を持つ人間の勢力は 2 つです。PlayerCount はその数にしてください。"},
      {[](V& s) { s.Owner = {}; },
       "Owner がすべて 0 (ヒノデ) です。2 つ以上の勢力に地区を持たせてください。"},
  };
  for (const Case<V>& c : cases) {
    V s = SampleSave();
    c.change(s);
    EXPECT_EQ(CheckSave(s), c.problem);
  }
}

}  // namespace
}  // namespace yuunagi
