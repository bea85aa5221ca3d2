// Many seeded spectator games played to the end, with the board checked after
// every single move.
#include <gtest/gtest.h>

#include <set>

#include "core/HeadlessGame.h"

namespace yuunagi::testing {
namespace {

ScenarioRecord MakeScenario(std::array<i16, 6> owners, i16 money, i16 soldiers) {
  ScenarioRecord s;
  s.StartTurn = 1;
  s.Music = "決戦の町";
  s.StartOwner = owners;
  for (int i = 0; i < 6; ++i) {
    s.StartMoney[i] = money;
    s.StartSoldiers[i] = soldiers;
    s.StartStrength[i] = 10;
    s.StartWeapon[i] = 1;
    s.StartDevelopment[i] = 10;
  }
  return s;
}

int FactionsOnBoard(const GameData& g) {
  std::set<int> owners;
  for (const auto& d : g.Districts) owners.insert(d.Owner);
  return static_cast<int>(owners.size());
}

void PlayAndCheck(const ScenarioRecord& scenario, int games) {
  for (int game = 0; game < games; ++game) {
    SeededRandom random(1000 + game);
    HeadlessHost host;
    int lastFactions = 6;
    long long checkedMoves = 0;
    const auto check = [&](const Engine& engine) {
      const GameData& g = engine.Data();
      ++checkedMoves;
      for (const auto& d : g.Districts) {
        ASSERT_GE(d.Owner, 0);
        ASSERT_LT(d.Owner, 6);
        ASSERT_GE(d.Money, 0);
        ASSERT_LE(d.Money, kMoneyLimit);
        ASSERT_GE(d.Soldiers, 0);
        ASSERT_LE(d.Soldiers, kSoldiersLimit);
        ASSERT_GE(d.Strength, 0);
        ASSERT_GE(d.Weapon, 1);
        ASSERT_LE(d.Weapon, kWeaponLimit);
        ASSERT_GE(d.Development, 0);
        ASSERT_LE(d.Development, kDevelopmentLimit);
      }
      ASSERT_GE(g.CurrentDistrict, 0);
      ASSERT_LT(g.CurrentDistrict, 6);
      const int factions = FactionsOnBoard(g);
      ASSERT_LE(factions, lastFactions) << "a faction came back";
      lastFactions = factions;
      if (engine.Finished()) {
        ASSERT_EQ(factions, 1);
        ASSERT_EQ(g.GameState, Phase::Victory);
      } else {
        ASSERT_TRUE(g.GameState == Phase::Moving || g.GameState == Phase::FactionDestroyed);
        ASSERT_GT(factions, 1);
      }
    };
    const HeadlessResult result = PlayHeadlessGame(scenario, "test", random, 5000, host, check);
    ASSERT_FALSE(::testing::Test::HasFatalFailure()) << "game " << game;
    ASSERT_GE(result.winner, 0) << "game " << game << " did not end in 5000 turns";
    ASSERT_TRUE(host.ended);
    ASSERT_EQ(host.humanMovesOffered, 0);
    ASSERT_EQ(result.moves, checkedMoves) << "every move is one action";
  }
}

TEST(RandomPlay, ClassicStartGamesEndWithOneFactionHoldingTheTown) {
  PlayAndCheck(MakeScenario({0, 1, 2, 3, 4, 5}, 100, 50), 150);
}

TEST(RandomPlay, ThreeFactionGamesEndToo) { PlayAndCheck(MakeScenario({0, 0, 2, 2, 4, 4}, 500, 200), 150); }

TEST(RandomPlay, TheSameSeedPlaysTheSameGame) {
  const ScenarioRecord s = MakeScenario({0, 1, 2, 3, 4, 5}, 100, 50);
  std::vector<std::string> first, second;
  for (auto* log : {&first, &second}) {
    SeededRandom random(42);
    HeadlessHost host;
    host.trace = [log](std::string_view line) { log->emplace_back(line); };
    PlayHeadlessGame(s, "test", random, 5000, host);
  }
  EXPECT_EQ(first, second);
  EXPECT_GT(first.size(), 10u);
  EXPECT_NE(first.back().find("はユウナギ町を制圧した。"), std::string::npos);
}

TEST(RandomPlay, AGameStillRunningAtTheTurnLimitIsADraw) {
  SeededRandom random(7);
  HeadlessHost host;
  const HeadlessResult result =
      PlayHeadlessGame(MakeScenario({0, 1, 2, 3, 4, 5}, 100, 10000), "test", random, 2, host);
  EXPECT_EQ(result.winner, -1);
  EXPECT_EQ(result.turns, 2);
  EXPECT_EQ(result.moves, 12);
}

TEST(RandomPlay, SeededSourceIsUniformInTheUnitInterval) {
  SeededRandom random(3);
  int buckets[6] = {};
  for (int i = 0; i < 60000; ++i) {
    const double r = random.Next();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
    ++buckets[static_cast<int>(r * 6)];
  }
  for (int b : buckets) EXPECT_NEAR(b, 10000, 400);
}

}  // namespace
}  // namespace yuunagi::testing
