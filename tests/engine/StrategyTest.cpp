// The computer strategy: every chance of its chain pinned from both sides (a
// draw at the threshold takes the branch, the next number above it does
// not), its other conditions from both sides, and the exact draws it makes.
#include <vector>

#include "EngineFixture.h"
#include "rules/ComputerStrategy.h"

namespace yuunagi::testing {
namespace {

constexpr double kMiss = 0.99;
constexpr double kOwnDistrict = 0.0;  // Int(0 x 6) = district 0, the mover's own

class Strategy : public EngineFixture {
 protected:
  // The decision for district 0 after the capture search draws `search`
  // (ten misses by default) and then `chain`.
  Decision Decide(std::vector<double> chain,
                  std::vector<double> search = std::vector<double>(10, kOwnDistrict)) {
    random.PushAll(search);
    random.PushAll(chain);
    const std::optional<Decision> d = strategy.Decide(G(), random);
    EXPECT_TRUE(d.has_value());
    return d.value_or(Decision{});
  }
  ComputerStrategy strategy;
};

// Draws of the chain after the capture search: collect, hire, early hire,
// new weapon, develop, train, early train. A random fists attack on district
// 1 follows when all of them miss.
struct ChainCase {
  const char* name;
  int turn;
  std::vector<double> chain;  // ends with the amount draw where one is made
  Action action;
};

TEST_F(Strategy, EveryChanceOfTheChainIsPinnedFromBothSides) {
  const std::vector<double> fists = {0.2, kMiss, kMiss, kMiss, kMiss};  // target 1, four weapon misses
  const auto then = [&](std::vector<double> head) {
    head.insert(head.end(), fists.begin(), fists.end());
    return head;
  };
  const double m = kMiss;
  const ChainCase cases[] = {
      {"collect", 20, {0.2}, Collect},
      {"no collect", 20, then({Above(0.2), m, m, m, m, m, m}), Attack},
      {"hire", 20, {m, 0.15, m, 0.0}, Hire},
      {"no hire", 20, then({m, Above(0.15), m, m, m, m, m}), Attack},
      {"early hire", 10, {m, m, 0.1, 0.0}, Hire},
      {"no early hire", 10, then({m, m, Above(0.1), m, m, m, m}), Attack},
      {"no early hire after turn 10", 11, then({m, m, 0.1, m, m, m, m}), Attack},
      {"new weapon", 20, {m, m, m, 0.5}, DevelopWeapon},
      {"no new weapon", 20, then({m, m, m, Above(0.5), m, m, m}), Attack},
      {"develop", 20, {m, m, m, m, 0.25, 0.0}, Develop},
      {"no develop", 20, then({m, m, m, m, Above(0.25), m, m}), Attack},
      {"train", 20, {m, m, m, m, m, 0.2, m, 0.0}, Train},
      {"no train", 20, then({m, m, m, m, m, Above(0.2), m}), Attack},
      {"early train", 10, {m, m, m, m, m, m, 0.1, 0.0}, Train},
      {"no early train", 10, then({m, m, m, m, m, m, Above(0.1)}), Attack},
      {"no early train after turn 10", 11, then({m, m, m, m, m, m, 0.1}), Attack},
  };
  for (const ChainCase& c : cases) {
    Reset({0, 100, 50, 10, 1, 10});
    for (int i = 1; i < kDistrictCount; ++i) D(i).Soldiers = 1000;  // nothing to capture
    G().TurnNumber = static_cast<i16>(c.turn);
    const Decision d = Decide(c.chain);
    EXPECT_EQ(d.action, c.action) << c.name;
    if (c.action == Attack) {
      EXPECT_EQ(d.value, 1) << c.name;
    }
    EXPECT_EQ(random.Remaining(), 0) << c.name;
  }
}

TEST_F(Strategy, TheRandomAttacksWeaponTakesEachChanceFromTheTop) {
  struct Case {
    std::vector<double> draws;
    i16 level;
  };
  const Case cases[] = {
      {{0.4}, 5},
      {{Above(0.4), 0.4}, 4},
      {{Above(0.4), Above(0.4), 0.4}, 3},
      {{Above(0.4), Above(0.4), Above(0.4), 0.5}, 2},
      {{Above(0.4), Above(0.4), Above(0.4), Above(0.5)}, 1},
  };
  for (const Case& c : cases) {
    Reset({0, 100, 1000, 10, 5, 0});
    G().TurnNumber = 20;
    std::vector<double> chain = {kMiss, kMiss, kMiss, kMiss, kMiss, kMiss, kMiss, 0.0, 0.2};  // own, then 1
    chain.insert(chain.end(), c.draws.begin(), c.draws.end());
    const Decision d = Decide(chain);
    EXPECT_EQ(d.action, Attack);
    EXPECT_EQ(d.target, 1) << "its own district is drawn again";
    EXPECT_EQ(d.value, c.level);
  }
  // Each weapon only with its price in hand: 99 gold never fires the nuclear missile.
  for (const auto& [money, level] : {std::pair<i16, i16>{100, 5}, {99, 4}, {44, 3}, {14, 2}, {4, 1}}) {
    Reset({0, money, 1000, 10, 5, 0});
    G().TurnNumber = 20;
    std::vector<double> chain = {kMiss, kMiss, kMiss, kMiss, kMiss, kMiss, kMiss, 0.2};
    chain.resize(chain.size() + std::min(6 - level, 4), 0.0);  // draws up to the weapon taken
    EXPECT_EQ(Decide(chain).value, level) << money;
  }
}

TEST_F(Strategy, CaptureNeedsMoreThanTwiceTheTurnInSoldiers) {
  for (const auto& [soldiers, captures] : {std::pair<i16, bool>{7, true}, {6, false}}) {
    Reset({0, 100, soldiers, 10, 1, 10});
    G().TurnNumber = 3;
    D(1).Soldiers = 10;  // one blow of strength 10 takes it
    const std::vector<double> search = {0.2};
    const Decision d =
        captures ? Decide({}, search) : Decide({0.2}, search);  // else: collects on its first chance
    EXPECT_EQ(d.action, captures ? Attack : Collect) << soldiers;
    if (captures) {
      EXPECT_EQ(d.target, 1);
    }
  }
}

TEST_F(Strategy, SoldiersNoMoreThanTheTurnAlwaysHire) {
  for (const auto& [soldiers, hires] : {std::pair<i16, bool>{20, true}, {21, false}}) {
    Reset({0, 100, soldiers, 10, 1, 10});
    for (int i = 1; i < kDistrictCount; ++i) D(i).Soldiers = 1000;
    G().TurnNumber = 20;
    const Decision d =
        hires ? Decide({kMiss, kMiss, kMiss, 0.0})
              : Decide({kMiss, kMiss, kMiss, kMiss, kMiss, kMiss, kMiss, 0.2, 0.9, 0.9, 0.9, 0.9});
    EXPECT_EQ(d.action, hires ? Hire : Attack) << soldiers;
  }
}

TEST_F(Strategy, SearchAndWeaponChoiceFollowTheirRules) {
  Reset({0, 20, 50, 20, 3, 10});
  D(1).Soldiers = 30;
  D(2).Soldiers = 51;
  D(3).Owner = 0;
  D(3).Soldiers = 0;
  // Gun 50 is the best it can pay for; the sword's 30 is the cheapest capture of 30.
  EXPECT_EQ(ComputerStrategy::BestDamage(G(), 0), 50);
  EXPECT_EQ(ComputerStrategy::ChooseCapturingWeapon(G(), 0, 1), 2);
  D(0).Money = 14;
  EXPECT_EQ(ComputerStrategy::BestDamage(G(), 0), 30);
  D(0).Money = 4;
  EXPECT_EQ(ComputerStrategy::BestDamage(G(), 0), 20);
  EXPECT_EQ(ComputerStrategy::ChooseCapturingWeapon(G(), 0, 2), 5) << "none qualifies: level 5 untested";
  // Own districts (0, 3) and a district out of reach (2) are passed over; ten misses give up.
  D(0).Money = 20;
  random.Push({0.0, 0.5, 0.34, 0.2});
  EXPECT_EQ(ComputerStrategy::FindCapturableTarget(G(), random), 1);
  random.PushAll(std::vector<double>(10, 0.5));
  EXPECT_EQ(ComputerStrategy::FindCapturableTarget(G(), random), ComputerStrategy::NoTarget);
}

TEST_F(Strategy, AmountsRunFromJustOverHalfToAllThatTheMoneyBuys) {
  struct Case {
    Action action;
    i16 money;
    std::vector<double> chain;
    i16 amount;
  };
  const double m = kMiss;
  const Case cases[] = {
      {Hire, 100, {m, 0.0, m, 0.0}, 51},
      {Hire, 100, {m, 0.0, m, 0.999}, 100},
      {Hire, 1, {m, 0.0, m, 0.5}, 1},
      {Hire, 101, {m, 0.0, m, 0.999}, 100},
      {Develop, 100, {m, m, m, m, 0.0, 0.0}, 6},
      {Develop, 100, {m, m, m, m, 0.0, 0.999}, 10},
      {Develop, 19, {m, m, m, m, 0.0, 0.5}, 1},
      {Train, 100, {m, m, m, m, m, 0.0, m, 0.999}, 10},
  };
  for (const Case& c : cases) {
    Reset({0, c.money, 50, 10, 5, 10});
    for (int i = 1; i < kDistrictCount; ++i) D(i).Soldiers = 1000;
    G().TurnNumber = 20;
    const Decision d = Decide(c.chain);
    EXPECT_EQ(d.action, c.action);
    EXPECT_EQ(d.value, c.amount) << static_cast<int>(c.action) << " with " << c.money;
  }
}

TEST_F(Strategy, APennilessUndevelopedDistrictAttacksWithFists) {
  Reset({0, 0, 50, 10, 5, 0});
  for (int i = 1; i < kDistrictCount; ++i) D(i).Soldiers = 1000;
  G().TurnNumber = 20;
  // Every chance hits, yet nothing can be paid for and there is nothing to collect.
  const Decision d = Decide({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.5, 0.0, 0.0, 0.0, 0.0});
  EXPECT_EQ(d.action, Attack);
  EXPECT_EQ(d.target, 3);
  EXPECT_EQ(d.value, 1);
}

TEST_F(Strategy, WithOneFactionLeftThereIsNothingToDo) {
  Reset({0, 0, 50, 10, 1, 0});
  for (int i = 0; i < kDistrictCount; ++i) D(i).Owner = 2;
  G().TurnNumber = 20;
  random.PushAll(std::vector<double>(17, kMiss));
  EXPECT_FALSE(strategy.Decide(G(), random).has_value());
}

}  // namespace
}  // namespace yuunagi::testing
