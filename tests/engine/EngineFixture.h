// A running game on a board the test lays out, with a scripted random source
// and a host that records what the players would see.
#pragma once

#include <gtest/gtest.h>

#include "RecordingHost.h"
#include "core/Engine.h"
#include "tests/support/ScriptedRandom.h"

namespace yuunagi::testing {

using test::ScriptedRandom;

class EngineFixture : public ::testing::Test {
 protected:
  EngineFixture() : engine(host, random) {
    // The classic start: district i held by faction i, modest values.
    for (int i = 0; i < kDistrictCount; ++i) {
      engine.Data().Districts[i] = DistrictRecord{static_cast<i16>(i), 100, 50, 10, 1, 10};
    }
    engine.Data().PlayerCount = kSpectatorPlayerCount;
    engine.Data().TurnNumber = 1;
    engine.Data().GameState = State::Moving;
  }

  // Every test scripts exactly the chances the engine takes.
  void TearDown() override {
    EXPECT_FALSE(random.Overdrawn()) << "the engine drew more random numbers than scripted";
  }

  DistrictRecord& D(int i) { return engine.Data().Districts[i]; }
  GameData& G() { return engine.Data(); }

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
