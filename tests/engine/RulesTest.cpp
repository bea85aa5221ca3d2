// The actions: what they cost, what they change, what they report, and how a
// capture turns into a destruction or a victory; the rule book's refusals.
#include "EngineFixture.h"
#include "rules/ActionResolver.h"

namespace yuunagi::testing {
namespace {

class Rules : public EngineFixture {};

TEST_F(Rules, EachWeaponHasItsVerbCostAndFactor) {
  struct Case {
    int level, cost, damage;
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
    Reset({0, 0, 1000, 7, 5, 0});
    D(0).Money = static_cast<i16>(c.cost);  // exactly the price
    random.Push({0.9});
    ASSERT_TRUE(Act(Attack, static_cast<i16>(c.level), 1)) << c.level;
    EXPECT_EQ(D(0).Money, 0) << c.level;
    EXPECT_EQ(D(1).Soldiers, 1000 - c.damage) << c.level;
    EXPECT_EQ(host.LastMessage(), c.text);
    EXPECT_EQ(D(0).Strength, 7);
    if (c.cost > 0) {
      EXPECT_EQ(
          CheckWeaponChoice(DistrictRecord{0, static_cast<i16>(c.cost - 1), 1, 7, 5, 0}, c.level).refusal,
          Refusal::NotEnoughMoney);
    }
  }
}

TEST_F(Rules, StrengthGrowsOnAHalfChanceAtMost) {
  for (const double draw : {0.5, Above(0.5)}) {
    Reset({0, 100, 1000, 15, 2, 10});
    random.Push({draw});
    ASSERT_TRUE(Act(Attack, 2, 1));
    EXPECT_EQ(D(1).Soldiers, 1000 - 22);
    EXPECT_EQ(D(0).Strength, draw <= 0.5 ? 16 : 15) << draw;
  }
}

TEST_F(Rules, CaptureSplitsTheArmyRoundingDownAndKeepsTheDistrictsOwnValues) {
  struct Case {
    i16 soldiers, kept;
  };
  for (const Case c : {Case{7, 3}, Case{1, 0}, Case{0, 0}, Case{-7, -4}, Case{-1, -1}}) {
    Reset();
    D(4).Owner = 1;
    D(0) = {0, 100, c.soldiers, 25, 2, 10};
    D(1) = {1, 333, 37, 44, 3, 55};
    random.Push({0.9});
    ASSERT_TRUE(Act(Attack, 2, 1));
    EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: ソラノを斬りつけた。37のダメージ!!ソラノを占領した!!");
    EXPECT_EQ(D(0).Soldiers, c.kept) << c.soldiers;
    EXPECT_EQ(D(1).Soldiers, c.kept) << c.soldiers;
    EXPECT_EQ(D(1), (DistrictRecord{0, 333, c.kept, 44, 3, 55}));
    EXPECT_EQ(host.emblemDraws, 1);
    EXPECT_EQ(host.refreshed, (std::vector<int>{1, 0}));
    EXPECT_EQ(G().GameState, Phase::Moving) << "ソラノ still holds district 4";
  }
}

TEST_F(Rules, ExactlyZeroSoldiersLeftIsACaptureAndOneIsNot) {
  D(0) = {0, 0, 1, 10, 1, 0};
  D(1).Soldiers = 11;
  random.Push({0.9});
  ASSERT_TRUE(Act(Attack, 1, 1));
  EXPECT_EQ(D(1).Owner, 1);
  EXPECT_EQ(D(1).Soldiers, 1);
  D(0) = {0, 0, 1, 0, 1, 0};  // strength 0 does 0 damage, and still takes an empty district
  D(1).Soldiers = 0;
  random.Push({0.9});
  ASSERT_TRUE(Act(Attack, 1, 1));
  EXPECT_EQ(D(1).Owner, 0);
  EXPECT_EQ(G().GameState, Phase::FactionDestroyed);
  EXPECT_TRUE(host.messageBoxes.empty()) << "nobody joined: a destruction passes silently";
}

// What a fatal capture leads to, by who plays whom. The screen is repainted
// before every message box.
TEST_F(Rules, DestructionAndVictoryEndTheGameOrGoOnByWhoIsLeft) {
  struct Case {
    std::vector<int> humans;    // factions played by players 1, 2, ...
    std::array<i16, 6> owners;  // ソラノ holds district 1 alone
    Phase state;
    std::vector<std::string> boxes;
    int ends;
    i16 playerCount;
  };
  const Case cases[] = {
      {{}, {0, 1, 0, 0, 0, 0}, Phase::Victory, {"ヒノデはユウナギ町を制圧した。"}, 1, kSpectatorPlayerCount},
      {{3}, {0, 1, 2, 3, 4, 5}, Phase::FactionDestroyed, {"ソラノは滅亡した。"}, 0, 1},
      {{1}, {0, 1, 2, 3, 4, 5}, Phase::LastHumanDestroyed, {"ソラノは滅亡した。"}, 1, 0},
      {{1, 2}, {0, 1, 2, 3, 4, 5}, Phase::FactionDestroyed, {"ソラノは滅亡した。"}, 0, 1},
  };
  for (const Case& c : cases) {
    Reset();
    for (int i = 0; i < kDistrictCount; ++i) D(i).Owner = c.owners[i];
    D(1).Soldiers = 0;
    for (std::size_t p = 0; p < c.humans.size(); ++p) Human(c.humans[p], static_cast<int>(p) + 1);
    random.Push({0.9});
    ASSERT_TRUE(Act(Attack, 1, 1));
    EXPECT_EQ(G().GameState, c.state);
    EXPECT_EQ(host.messageBoxes, c.boxes);
    EXPECT_EQ(host.endProgram, c.ends);
    EXPECT_EQ(engine.Finished(), c.ends == 1);
    EXPECT_EQ(G().PlayerCount, c.playerCount);
    const auto box = std::find(host.calls.begin(), host.calls.end(), "box:" + c.boxes[0]);
    ASSERT_NE(box, host.calls.begin());
    EXPECT_EQ(*std::prev(box, c.ends ? 2 : 1), "yield") << "repaint before the box";
    EXPECT_EQ(std::find(host.calls.begin(), host.calls.end(), "stop") != host.calls.end(), c.ends == 1);
  }
}

TEST_F(Rules, CollectGainsOneToDevelopmentUpToTheMoneyLimit) {
  struct Case {
    i16 money, development;
    double draw;
    i16 gain, after;
  };
  const Case cases[] = {{100, 0, 0.99, 1, 101},
                        {100, 10, 0.0, 1, 101},
                        {100, 10, 0.99, 10, 110},
                        {9990, 1000, 0.05, 51, 10000},
                        {9990, 1000, 0.009, 10, 10000}};
  for (const Case& c : cases) {
    Reset();
    D(0) = {0, c.money, 50, 10, 1, c.development};
    random.Push({c.draw});
    ASSERT_TRUE(Act(Collect));
    EXPECT_EQ(D(0).Money, c.after);
    EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 民から" + std::to_string(c.gain) + "の金を集金した。");
  }
}

// Develop, hire and train: the price of exactly the money is paid, one gold
// less is refused; the limit cuts the gain, never the price or the report.
TEST_F(Rules, BuyingChargesInFullUpToItsLimitAndReportsTheAmountAsked) {
  struct Case {
    Action action;
    i16 amount, money, start, after;
    i16 DistrictRecord::*field;
    const char* text;
  };
  const Case cases[] = {
      {Develop, 20, 200, 990, 1000, &DistrictRecord::Development, "開発が20あがった。"},
      {Develop, 1, 10, 999, 1000, &DistrictRecord::Development, "開発が1あがった。"},
      {Hire, 120, 120, 9950, 10000, &DistrictRecord::Soldiers, "兵士を120雇った。"},
      {Hire, 1, 1, 9999, 10000, &DistrictRecord::Soldiers, "兵士を1雇った。"},
      {Train, 3, 30, 999, 1000, &DistrictRecord::Strength, "兵士の強さが3あがった。"},
      {Train, 2, 20, 997, 999, &DistrictRecord::Strength, "兵士の強さが2あがった。"},
  };
  for (const Case& c : cases) {
    Reset();
    D(0).Money = static_cast<i16>(c.money - 1);
    D(0).*c.field = c.start;
    EXPECT_EQ(Act(c.action, c.amount).refusal, Refusal::NotEnoughMoney) << c.text;
    EXPECT_EQ(Act(c.action, c.amount).Text(), "お金が足りません!!");
    D(0).Money = c.money;
    ASSERT_TRUE(Act(c.action, c.amount)) << c.text;
    EXPECT_EQ(D(0).Money, 0);
    EXPECT_EQ(D(0).*c.field, c.after) << c.text;
    EXPECT_EQ(host.LastMessage(), std::string("ヒノデの戦略: ") + c.text);
  }
}

TEST_F(Rules, WeaponLadderClimbsAtItsPricesAndStopsAtTheNuclearMissile) {
  const i16 prices[] = {30, 80, 150, 400};
  for (i16 level = 1; level <= 5; ++level) {
    Reset();
    D(0).Weapon = level;
    if (level == 5) {
      D(0).Money = 10000;
      EXPECT_EQ(Act(DevelopWeapon).Text(), "これ以上、開発できません。");
      continue;
    }
    D(0).Money = static_cast<i16>(prices[level - 1] - 1);
    EXPECT_EQ(Act(DevelopWeapon).Text(), "お金が足りません。");
    D(0).Money = prices[level - 1];
    ASSERT_TRUE(Act(DevelopWeapon));
    EXPECT_EQ(D(0).Weapon, level + 1);
    EXPECT_EQ(D(0).Money, 0);
    EXPECT_EQ(host.LastMessage(), "ヒノデの戦略: 新しい武器を開発した。");
  }
}

TEST_F(Rules, TheRuleBookRefusesWhatNoMenuOffers) {
  struct Case {
    Action action;
    i16 value, target;
    Refusal refusal;
  };
  D(0).Weapon = 2;
  D(2).Owner = 0;
  const Case cases[] = {
      {Attack, 0, 1, Refusal::NoSuchWeapon},   {Attack, 3, 1, Refusal::NoSuchWeapon},
      {Attack, 1, 0, Refusal::NotATarget},     {Attack, 1, 2, Refusal::NotATarget},
      {Attack, 1, 6, Refusal::NotATarget},     {Attack, 1, -1, Refusal::NotATarget},
      {Develop, 0, 0, Refusal::BadAmount},     {Hire, -5, 0, Refusal::BadAmount},
      {Train, 11, 0, Refusal::NotEnoughMoney}, {static_cast<Action>(6), 0, 0, Refusal::UnknownAction},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Act(c.action, c.value, c.target).refusal, c.refusal)
        << static_cast<int>(c.action) << " " << c.value << " " << c.target;
  }
  EXPECT_EQ(D(0), (DistrictRecord{0, 100, 50, 10, 2, 10}));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(Rules, ArithmeticSaturatesInsteadOfOverflowing) {
  D(0) = {0, 100, 50, 32767, 5, 10};
  D(1).Soldiers = -32000;
  random.Push({0.1});
  ASSERT_TRUE(Act(Attack, 5, 1));
  EXPECT_EQ(host.LastMessage(),
            "ヒノデの戦略: ソラノに核ミサイルをはなった。32767のダメージ!!ソラノを占領した!!");
  EXPECT_EQ(D(0).Strength, 32767);
  EXPECT_EQ(D(1).Soldiers, 25);
}

// The rules work on any board they are handed: a copy plays on, capture and
// new turn included, and the board it came from stays as it was.
TEST(BoardCopy, ApplyingAnActionToACopyLeavesTheOriginalUntouched) {
  Board original;
  for (int i = 0; i < kDistrictCount; ++i) original.Districts[i] = DistrictRecord{i16(i), 100, 50, 10, 1, 10};
  original.Districts[1].Soldiers = 5;
  original.PlayerOfFaction[1] = 1;
  original.PlayerCount = 1;
  original.TurnNumber = 3;
  original.CurrentDistrict = 5;
  const Board kept = original;
  Board copy = original;
  ScriptedRandom random{0.9};
  const ActionReport report = ApplyAction(copy, Action::Attack, 1, 1, random);
  EXPECT_TRUE(report.captured);
  EXPECT_EQ(report.destroyedFaction, 1);
  EXPECT_EQ(copy.Districts[1].Owner, 5);
  EXPECT_EQ(copy.PlayerCount, 0);
  EXPECT_TRUE(AdvanceMover(copy));
  EXPECT_EQ(copy.TurnNumber, 4);
  EXPECT_EQ(copy.Districts[0].Money, 110);
  EXPECT_EQ(original, kept);
}

}  // namespace
}  // namespace yuunagi::testing
