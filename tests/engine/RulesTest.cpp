// The actions: what they cost, what they change, what they report, and how a
// capture turns into a destruction or a victory.
#include "EngineFixture.h"

namespace yuunagi::testing {
namespace {

class Rules : public EngineFixture {};

TEST_F(Rules, SwordAttackCostsDamagesAndReports) {
  D(0).Strength = 15;
  D(0).Weapon = 2;
  random.Push({0.5});  // exactly the threshold: the attacker's strength grows
  ASSERT_TRUE(engine.ExecuteAction(Attack, 2, 1));
  EXPECT_EQ(D(0).Money, 95);
  EXPECT_EQ(D(1).Soldiers, 50 - 22);
  EXPECT_EQ(D(0).Strength, 16);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: ソラノを斬りつけた。22のダメージ!!");
  EXPECT_EQ(host.refreshed, (std::vector<int>{1, 0}));
  EXPECT_EQ(host.emblemDraws, 0);
  EXPECT_EQ(random.Draws(), 1);
}

TEST_F(Rules, EachWeaponHasItsVerbCostAndFactor) {
  struct Case {
    int level;
    int cost;
    int damage;
    const char* text;
  };
  const Case cases[] = {
      {1, 0, 7, "ヒノデの戦略: ソラノを殴った。7のダメージ!!"},
      {2, 5, 10, "ヒノデの戦略: ソラノを斬りつけた。10のダメージ!!"},
      {3, 15, 17, "ヒノデの戦略: ソラノに銃を乱射した。17のダメージ!!"},
      {4, 45, 35, "ヒノデの戦略: ソラノにミサイルをはなった。35のダメージ!!"},
      {5, 100, 70, "ヒノデの戦略: ソラノに核ミサイルをはなった。70のダメージ!!"},
  };
  for (const Case& c : cases) {
    D(0) = {0, 100, 50, 7, 5, 10};
    D(1).Soldiers = 1000;
    random.Push({0.9});  // no strength gain
    ASSERT_TRUE(engine.ExecuteAction(Attack, static_cast<i16>(c.level), 1));
    EXPECT_EQ(D(0).Money, 100 - c.cost) << c.level;
    EXPECT_EQ(D(1).Soldiers, 1000 - c.damage) << c.level;
    EXPECT_EQ(D(0).Strength, 7);
    EXPECT_EQ(host.LastMessage(), c.text);
  }
}

TEST_F(Rules, NuclearMissileAtFullStrengthDoesTenThousand) {
  D(0) = {0, 100, 50, 1000, 5, 10};
  D(1).Soldiers = 10000;
  random.Push({0.7});
  engine.ExecuteAction(Attack, 5, 1);
  EXPECT_EQ(host.LastMessage(),
            "ヒノデの戦略: ソラノに核ミサイルをはなった。10000のダメージ!!ソラノを占領した!!");
  EXPECT_EQ(D(1).Owner, 0);  // exactly 0 left: captured
}

TEST_F(Rules, CaptureSplitsTheArmyAndKeepsTheDistrictsOwnValues) {
  D(0) = {0, 100, 7, 25, 2, 10};
  D(1) = {1, 333, 37, 44, 3, 55};
  random.Push({0.9});
  engine.ExecuteAction(Attack, 2, 1);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: ソラノを斬りつけた。37のダメージ!!ソラノを占領した!!");
  EXPECT_EQ(D(1).Owner, 0);
  EXPECT_EQ(D(0).Soldiers, 3);
  EXPECT_EQ(D(1).Soldiers, 3);
  EXPECT_EQ(D(1).Money, 333);
  EXPECT_EQ(D(1).Strength, 44);
  EXPECT_EQ(D(1).Weapon, 3);
  EXPECT_EQ(D(1).Development, 55);
  EXPECT_EQ(host.emblemDraws, 1);
  EXPECT_EQ(host.refreshed, (std::vector<int>{1, 0}));
  // ソラノ held only district 1: destroyed, but nobody joined, so no message box.
  EXPECT_EQ(G().GameState, State::FactionDestroyed);
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_EQ(host.endProgram, 0);
}

TEST_F(Rules, OneSoldierLeftIsNotCapturedAndASingleSoldierCapturesWithNobody) {
  D(0) = {0, 0, 1, 10, 1, 0};
  D(1).Soldiers = 11;
  random.Push({0.9});
  engine.ExecuteAction(Attack, 1, 1);
  EXPECT_EQ(D(1).Soldiers, 1);
  EXPECT_EQ(D(1).Owner, 1);

  random.Push({0.9});
  engine.ExecuteAction(Attack, 1, 1);
  EXPECT_EQ(D(1).Owner, 0);
  EXPECT_EQ(D(0).Soldiers, 0);
  EXPECT_EQ(D(1).Soldiers, 0);
}

TEST_F(Rules, ZeroStrengthStillCapturesAnEmptyDistrict) {
  D(0) = {0, 0, 4, 0, 1, 0};
  D(1).Soldiers = 0;
  random.Push({0.9});
  engine.ExecuteAction(Attack, 1, 1);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: ソラノを殴った。0のダメージ!!ソラノを占領した!!");
  EXPECT_EQ(D(1).Owner, 0);
}

TEST_F(Rules, TakingTheLastDistrictWinsTheTownAndEndsTheProgram) {
  for (int i = 1; i < 6; ++i) D(i).Owner = 0;
  D(5).Owner = 3;
  D(5).Soldiers = 0;
  random.Push({0.9});
  engine.ExecuteAction(Attack, 1, 5);
  EXPECT_EQ(G().GameState, State::Victory);
  EXPECT_EQ(host.messageBoxes, (std::vector<std::string>{"ヒノデはユウナギ町を制圧した。"}));
  EXPECT_EQ(host.music, (std::vector<std::string>{"stop"}));
  EXPECT_EQ(host.endProgram, 1);
  EXPECT_TRUE(engine.Finished());
  EXPECT_EQ(engine.Winner(), 0);
  // The message line is written first, then yield, stop, message box, end.
  const auto& c = host.calls;
  ASSERT_GE(c.size(), 5u);
  EXPECT_EQ(
      std::vector<std::string>(c.end() - 5, c.end()),
      (std::vector<std::string>{"message", "yield", "stop", "box:ヒノデはユウナギ町を制圧した。", "end"}));
  // Nothing more happens once the program has ended.
  EXPECT_FALSE(engine.ExecuteAction(Collect, 0, 0));
}

TEST_F(Rules, DestroyingAComputerFactionWhileHumansPlayShowsItAndGoesOn) {
  Human(0, 1);
  D(1).Soldiers = 0;
  random.Push({0.9});
  engine.ExecuteAction(Attack, 1, 1);
  EXPECT_EQ(host.messageBoxes, (std::vector<std::string>{"ソラノは滅亡した。"}));
  EXPECT_EQ(host.endProgram, 0);
  // A human mover's move ends at once: district 1 (now ヒノデ's, human) moves next.
  EXPECT_EQ(G().CurrentDistrict, 1);
  EXPECT_EQ(host.actionMenuPlayer, 1);
  EXPECT_EQ(G().GameState, State::Moving);
}

TEST_F(Rules, DestroyingTheLastHumanFactionEndsTheGameAlthoughComputersRemain) {
  Human(1, 1);
  D(1).Soldiers = 0;
  random.Push({0.9});
  engine.ExecuteAction(Attack, 1, 1);
  EXPECT_EQ(G().GameState, State::LastHumanDestroyed);
  EXPECT_EQ(G().PlayerCount, 0);
  EXPECT_EQ(host.messageBoxes, (std::vector<std::string>{"ソラノは滅亡した。"}));
  EXPECT_EQ(host.music, (std::vector<std::string>{"stop"}));
  EXPECT_EQ(host.endProgram, 1);
}

TEST_F(Rules, DestroyingOneOfTwoHumansGoesOnWithTheOther) {
  Human(1, 1);
  Human(2, 2);
  D(1).Soldiers = 0;
  random.Push({0.9});
  engine.ExecuteAction(Attack, 1, 1);
  EXPECT_EQ(G().GameState, State::FactionDestroyed);
  EXPECT_EQ(G().PlayerCount, 1);
  EXPECT_EQ(host.messageBoxes, (std::vector<std::string>{"ソラノは滅亡した。"}));
  EXPECT_EQ(host.endProgram, 0);
}

TEST_F(Rules, CollectGainsOneToDevelopmentAndStopsAtTheLimit) {
  D(0).Development = 0;
  random.Push({0.99});
  engine.ExecuteAction(Collect, 0, 0);
  EXPECT_EQ(D(0).Money, 101);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 民から1の金を集金した。");

  D(0).Money = 9990;
  D(0).Development = 100;
  random.Push({0.49});  // Int(100 x 0.49) + 1 = 50
  engine.ExecuteAction(Collect, 0, 0);
  EXPECT_EQ(D(0).Money, 10000);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 民から50の金を集金した。");
}

TEST_F(Rules, DevelopHireAndTrainChargeInFullAndReportTheAmountAsked) {
  D(0).Money = 500;
  D(0).Development = 990;
  engine.ExecuteAction(Develop, 20, 0);
  EXPECT_EQ(D(0).Money, 300);
  EXPECT_EQ(D(0).Development, 1000);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 開発が20あがった。");

  engine.ExecuteAction(Hire, 120, 0);
  EXPECT_EQ(D(0).Money, 180);
  EXPECT_EQ(D(0).Soldiers, 170);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 兵士を120雇った。");

  D(0).Strength = 995;
  engine.ExecuteAction(Train, 10, 0);
  EXPECT_EQ(D(0).Money, 80);
  EXPECT_EQ(D(0).Strength, 1000);
  EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 兵士の強さが10あがった。");

  D(0).Soldiers = 9999;
  engine.ExecuteAction(Hire, 5, 0);
  EXPECT_EQ(D(0).Soldiers, 10000);
  EXPECT_EQ(random.Draws(), 0);
  EXPECT_EQ(host.refreshed, (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(Rules, WeaponDevelopmentClimbsOneLevelAtItsPrice) {
  const int prices[] = {30, 80, 150, 400};
  D(0).Money = 1000;
  int money = 1000;
  for (int level = 1; level <= 4; ++level) {
    ASSERT_EQ(D(0).Weapon, level);
    engine.ExecuteAction(DevelopWeapon, 0, 0);
    money -= prices[level - 1];
    EXPECT_EQ(D(0).Money, money);
    EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 新しい武器を開発した。");
  }
  EXPECT_EQ(D(0).Weapon, 5);
  EXPECT_FALSE(engine.ExecuteAction(DevelopWeapon, 0, 0)) << "no sixth weapon";
  EXPECT_EQ(D(0).Money, money);
}

TEST_F(Rules, AHumanMoverWaitsForAClickAfterActing) {
  Human(0, 1);
  engine.ExecuteAction(Hire, 1, 0);
  EXPECT_EQ(G().GameState, State::AwaitingClick);

  G().GameState = State::Moving;
  G().CurrentDistrict = 1;  // a computer faction's district
  engine.ExecuteAction(Hire, 1, 0);
  EXPECT_EQ(G().GameState, State::Moving);
}

TEST_F(Rules, CallsOutsideTheContractChangeNothing) {
  D(0).Weapon = 3;
  D(2).Owner = 0;  // a second district of the mover's own faction
  const auto board = G().Districts;
  const struct {
    i16 action, value, target;
  } refused[] = {
      {Develop, 0, 0}, {Hire, -5, 0},   {Train, 0, 0},    // amounts below 1
      {Attack, 0, 1},  {Attack, 4, 1},  {Attack, -1, 1},  // levels outside 1..Weapon
      {Attack, 1, 6},  {Attack, 1, -1},                   // no such district
      {Attack, 1, 0},  {Attack, 1, 2},                    // the mover's own faction
      {6, 0, 0},       {-1, 0, 0},                        // no such action
  };
  for (const auto& call : refused) {
    EXPECT_FALSE(engine.ExecuteAction(call.action, call.value, call.target))
        << call.action << " " << call.value << " " << call.target;
  }
  EXPECT_EQ(G().Districts, board);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(random.Draws(), 0);
  EXPECT_EQ(G().GameState, State::Moving);
}

TEST_F(Rules, ArithmeticSaturatesInsteadOfOverflowing) {
  D(0) = {0, 100, 50, 32767, 5, 10};
  D(1).Soldiers = 10000;
  random.Push({0.1});  // strength would grow past 32767
  engine.ExecuteAction(Attack, 5, 1);
  EXPECT_EQ(D(0).Strength, 32767);
  EXPECT_EQ(D(1).Owner, 0);
  EXPECT_EQ(host.LastMessage(),
            "ヒノデの戦略: ソラノに核ミサイルをはなった。32767のダメージ!!ソラノを占領した!!");

  D(0).Money = -32768;
  engine.ExecuteAction(Develop, 10, 0);
  EXPECT_EQ(D(0).Money, -32768);
}

}  // namespace
}  // namespace yuunagi::testing
