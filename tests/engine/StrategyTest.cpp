// The computer players: which action a district picks, with which amount or
// weapon, and exactly which random numbers it draws on the way.
#include "EngineFixture.h"

namespace yuunagi::testing {
namespace {

class Strategy : public EngineFixture {
 protected:
  // Ten draws that find nothing to capture (district 5 has too many soldiers).
  void NoCapture() {
    D(5).Soldiers = 10000;
    for (int i = 0; i < 10; ++i) random.Push({0.99});
  }
  void ExpectAllDrawsUsed(int draws) {
    EXPECT_EQ(random.Draws(), draws);
    EXPECT_EQ(random.Remaining(), 0);
  }
};

TEST_F(Strategy, BestDamageUsesTheStrongestWeaponItCanPayFor) {
  D(0) = {0, 100, 10, 10, 5, 0};
  EXPECT_EQ(engine.BestDamage(0), 100);
  D(0).Money = 99;
  EXPECT_EQ(engine.BestDamage(0), 50);  // missile
  D(0).Money = 44;
  EXPECT_EQ(engine.BestDamage(0), 25);  // gun
  D(0).Money = 0;
  EXPECT_EQ(engine.BestDamage(0), 10);  // fists are free
  D(0).Money = -1;
  EXPECT_EQ(engine.BestDamage(0), 0);  // cannot even pay for fists
}

TEST_F(Strategy, CapturingWeaponIsTheCheapestThatTakesTheTarget) {
  D(0) = {0, 20, 10, 20, 3, 0};
  D(1).Soldiers = 30;
  EXPECT_EQ(engine.ChooseCapturingWeapon(0, 1), 2);  // 20 x 1.5 = 30 >= 30
  D(1).Soldiers = 31;
  EXPECT_EQ(engine.ChooseCapturingWeapon(0, 1), 3);
  D(1).Soldiers = 10000;
  EXPECT_EQ(engine.ChooseCapturingWeapon(0, 1), 5) << "nothing fits: level 5 without a test";
}

TEST_F(Strategy, CapturableTargetSearchGivesUpAfterTenDraws) {
  NoCapture();
  EXPECT_EQ(engine.FindCapturableTarget(), Engine::NoTarget);
  ExpectAllDrawsUsed(10);
}

TEST_F(Strategy, CapturableTargetSkipsOwnFactionAndStrongDistricts) {
  D(2).Owner = 0;
  D(2).Soldiers = 0;                   // weak, but the mover's own
  D(3).Soldiers = 10;                  // exactly the fists' damage
  random.Push({0.0, 0.4, 0.99, 0.5});  // districts 0 (own), 2 (own), 5 (strong), 3
  EXPECT_EQ(engine.FindCapturableTarget(), 3);
  ExpectAllDrawsUsed(4);
}

TEST_F(Strategy, CaptureNeedsMoreThanTwiceTheTurnInSoldiers) {
  G().TurnNumber = 3;
  D(0).Soldiers = 5;
  D(1).Soldiers = 0;
  // Found at once, but 5 <= 2 x 3: the chain goes on to the random attack.
  random.Push({0.2, /*collect*/ 0.9, /*hire*/ 0.9, 0.9, /*weapon*/ 0.9, /*develop*/ 0.9,
               /*train*/ 0.9, 0.9, /*target*/ 0.4, /*weapons 5..2*/ 0.9, 0.9, 0.9, 0.9,
               /*attack*/ 0.9});
  engine.ChooseComputerAction();
  ExpectAllDrawsUsed(14);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: ハナミを殴った。10のダメージ!!");

  random.Push({0.2, /*attack*/ 0.9});
  D(0).Soldiers = 7;
  D(1).Soldiers = 10;
  engine.ChooseComputerAction();
  EXPECT_EQ(random.Draws(), 16);
  EXPECT_EQ(D(1).Owner, 0) << "7 soldiers > 6: captured with fists";
}

TEST_F(Strategy, CollectsWhenTheFirstChanceHitsAndTheTownIsDeveloped) {
  NoCapture();
  random.Push({0.2, /*gain*/ 0.0});
  engine.ChooseComputerAction();
  ExpectAllDrawsUsed(12);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 民から1の金を集金した。");

  D(0).Development = 0;  // an undeveloped town never collects
  NoCapture();
  random.Push({0.0, /*hire*/ 0.1, 0.9, /*amount*/ 0.0});
  engine.ChooseComputerAction();
  ExpectAllDrawsUsed(26);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 兵士を51雇った。");
}

TEST_F(Strategy, HiresFromHalfToAllOfTheMoney) {
  NoCapture();
  random.Push({0.9, /*hire*/ 0.15, 0.9, /*amount*/ 0.9999});
  engine.ChooseComputerAction();
  ExpectAllDrawsUsed(14);
  EXPECT_EQ(D(0).Soldiers, 150);
  EXPECT_EQ(D(0).Money, 0);
}

TEST_F(Strategy, EarlyTurnsGiveHiringAnExtraChance) {
  G().TurnNumber = 10;
  NoCapture();
  random.Push({0.9, /*hire*/ 0.5, 0.1, /*amount*/ 0.0});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 兵士を51雇った。");

  G().TurnNumber = 11;
  NoCapture();
  random.Push({0.9, /*hire*/ 0.5, 0.1, /*new weapon*/ 0.5});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 新しい武器を開発した。");
  ExpectAllDrawsUsed(28);
}

TEST_F(Strategy, FewSoldiersForTheTurnAlwaysHire) {
  G().TurnNumber = 50;
  D(0).Money = 1;
  NoCapture();
  random.Push({0.9, /*hire*/ 0.9, 0.9, /*amount*/ 0.5});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 兵士を1雇った。");
  ExpectAllDrawsUsed(14);
}

TEST_F(Strategy, NoNewWeaponBeyondTheNuclearMissile) {
  D(0).Weapon = 5;
  NoCapture();
  random.Push({0.9, /*hire*/ 0.9, 0.9, /*weapon*/ 0.0, /*develop*/ 0.25, /*amount*/ 0.0});
  engine.ChooseComputerAction();
  EXPECT_EQ(D(0).Weapon, 5);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 開発が6あがった。");
  ExpectAllDrawsUsed(16);
}

TEST_F(Strategy, DevelopAndTrainBuyHalfToAllThePointsTheMoneyAllows) {
  NoCapture();
  random.Push({0.9, 0.9, 0.9, 0.9, /*develop*/ 0.1, /*amount*/ 0.9999});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 開発が10あがった。");
  EXPECT_EQ(D(0).Money, 0);

  D(0).Money = 100;
  NoCapture();
  random.Push({0.9, 0.9, 0.9, 0.9, 0.9, /*train*/ 0.2, 0.9, /*amount*/ 0.0});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 兵士の強さが6あがった。");
  EXPECT_EQ(D(0).Money, 40);
  ExpectAllDrawsUsed(34);
}

TEST_F(Strategy, PennilessUndevelopedDistrictAlwaysAttacksWithFists) {
  D(0) = {0, 0, 50, 10, 5, 0};
  NoCapture();
  random.Push({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, /*target*/ 0.99, /*weapons*/ 0.0, 0.0, 0.0, 0.0,
               /*attack*/ 0.9});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: ミオツを殴った。10のダメージ!!");
  ExpectAllDrawsUsed(23);
}

TEST_F(Strategy, RandomAttackRedrawsOwnDistrictsAndPicksAWeaponByChance) {
  D(0) = {0, 99, 50, 10, 5, 0};
  D(2).Owner = 0;
  D(3).Soldiers = 1000;
  NoCapture();
  random.Push({0.9, 0.9, 0.9, 0.9, 0.9, 0.9, 0.9,
               /*targets: own 0, own 2, enemy 3*/ 0.0, 0.4, 0.5,
               /*level 5 wins its chance but costs 100*/ 0.1, /*level 4*/ 0.4, /*attack*/ 0.9});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: トコナにミサイルをはなった。50のダメージ!!");
  EXPECT_EQ(D(0).Money, 54);
  ExpectAllDrawsUsed(23);

  D(0).Money = 10;
  D(0).Weapon = 2;
  NoCapture();
  random.Push({0.9, 0.9, 0.9, 0.9, 0.9, 0.9, 0.9, /*target*/ 0.2, /*5,4,3*/ 0.0, 0.0, 0.0,
               /*sword*/ 0.5, /*attack*/ 0.9});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: ソラノを斬りつけた。15のダメージ!!");
}

TEST_F(Strategy, CaptureAtExactlyTwiceTheTurnIsNotTaken) {
  G().TurnNumber = 3;
  D(0).Soldiers = 6;
  D(1).Soldiers = 0;
  random.Push({0.2, /*collect*/ 0.1, /*gain*/ 0.0});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 民から1の金を集金した。");
  ExpectAllDrawsUsed(3);
}

TEST_F(Strategy, EarlyTurnsGiveTrainingAnExtraChance) {
  G().TurnNumber = 10;
  NoCapture();
  random.Push({0.9, 0.9, 0.9, 0.9, 0.9, /*train*/ 0.5, 0.1, /*amount*/ 0.0});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 兵士の強さが6あがった。");

  G().TurnNumber = 11;
  NoCapture();
  random.Push(
      {0.9, 0.9, 0.9, 0.9, 0.9, /*train*/ 0.5, 0.1, /*target*/ 0.2, 0.9, 0.9, 0.9, 0.9, /*attack*/ 0.9});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: ソラノを殴った。16のダメージ!!");
  ExpectAllDrawsUsed(41);
}

TEST_F(Strategy, PricesAreCoveredByExactlyEnoughMoney) {
  D(0).Money = 30;  // the sword costs 30 to develop
  NoCapture();
  random.Push({0.9, 0.9, 0.9, /*weapon*/ 0.5});
  engine.ChooseComputerAction();
  EXPECT_EQ(D(0).Weapon, 2);
  EXPECT_EQ(D(0).Money, 0);

  D(0).Money = 79;  // one short of the gun
  NoCapture();
  random.Push({0.9, 0.9, 0.9, /*weapon*/ 0.0, /*develop*/ 0.0, /*amount*/ 0.0});
  engine.ChooseComputerAction();
  EXPECT_EQ(D(0).Weapon, 2);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 開発が4あがった。");

  D(0).Money = 10;  // one level of development
  NoCapture();
  random.Push({0.9, 0.9, 0.9, 0.9, /*develop*/ 0.25, /*amount*/ 0.9999});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 開発が1あがった。");

  D(0).Money = 9;  // not even that
  NoCapture();
  random.Push({0.9, 0.9, 0.9, 0.9, /*develop*/ 0.0, /*train*/ 0.0, 0.0, /*target*/ 0.2,
               /*5, 4, 3, 2*/ 0.0, 0.0, 0.0, 0.0, /*attack*/ 0.9});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: ソラノを斬りつけた。15のダメージ!!");
  EXPECT_EQ(D(0).Money, 4);
}

TEST_F(Strategy, GunTakesItsFortyPercentChance) {
  D(0) = {0, 15, 50, 10, 3, 0};
  NoCapture();
  random.Push({0.9, 0.9, 0.9, 0.9, 0.9, 0.9, 0.9, /*target*/ 0.2, /*5, 4*/ 0.0, 0.0, /*gun*/ 0.4,
               /*attack*/ 0.9});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: ソラノに銃を乱射した。25のダメージ!!");

  D(0).Money = 15;
  NoCapture();
  random.Push({0.9, 0.9, 0.9, 0.9, 0.9, 0.9, 0.9, /*target*/ 0.2, 0.0, 0.0, /*gun missed*/ 0.41,
               /*sword*/ 0.5, /*attack*/ 0.9});
  engine.ChooseComputerAction();
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: ソラノを斬りつけた。15のダメージ!!");
  ExpectAllDrawsUsed(45);
}

}  // namespace
}  // namespace yuunagi::testing
