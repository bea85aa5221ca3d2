// A running game on a board the test lays out, with a scripted random source
// and a host that records what the players would see.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "RecordingHost.h"
#include "core/Engine.h"
#include "tests/support/EngineTestAccess.h"
#include "tests/support/ScriptedRandom.h"

namespace yuunagi::testing {

using test::ScriptedRandom;
using enum Action;

// The next representable draw above a chance's threshold: the test fails.
inline double Above(double threshold) { return std::nextafter(threshold, 1.0); }

class EngineFixture : public ::testing::Test {
 protected:
  EngineFixture() : engine(host, random) { Reset(); }

  // The classic start (district i held by faction i, modest values), nobody
  // joined, a fresh move of district 0, nothing recorded yet.
  void Reset(DistrictRecord board = {0, 100, 50, 10, 1, 10}) {
    for (int i = 0; i < kDistrictCount; ++i) {
      D(i) = board;
      D(i).Owner = static_cast<i16>(i);
    }
    G().PlayerOfFaction.fill(0);
    G().PlayerCount = kSpectatorPlayerCount;
    G().TurnNumber = 1;
    G().CurrentDistrict = 0;
    EngineTestAccess::NewMove(engine);
    host = RecordingHost{};
  }

  // Every test scripts exactly the chances the engine takes.
  void TearDown() override { EXPECT_EQ(random.Remaining(), 0) << "scripted draws left unused"; }

  GameData& G() { return EngineTestAccess::Data(engine); }
  DistrictRecord& D(int i) { return G().Districts[i]; }
  // The mover acts as a computer would, in a fresh move.
  ActionCheck Act(Action action, i16 value = 0, i16 target = 0) {
    EngineTestAccess::NewMove(engine);
    return EngineTestAccess::ActAsComputer(engine, action, value, target);
  }

  // Makes faction `f` a human player's (player number `player`).
  void Human(int faction, int player) {
    if (G().PlayerCount == kSpectatorPlayerCount) G().PlayerCount = 0;
    G().PlayerOfFaction[faction] = static_cast<i16>(player);
    ++G().PlayerCount;
  }

  RecordingHost host;
  ScriptedRandom random;
  Engine engine;
};

}  // namespace yuunagi::testing
