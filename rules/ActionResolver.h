// Carries out one checked action of the district whose move it is: what it
// costs, what it changes on the board, what the report says, and whether a
// capture destroyed a faction or won the town. The engine checks the action
// first (rules/RuleBook.h) and does what follows it (core/Engine.h).
#pragma once

#include <string>

#include "core/GameState.h"
#include "core/Host.h"
#include "rules/Random.h"

namespace yuunagi {

// What an action left for the end-of-action step.
struct ActionOutcome {
  int destroyedFaction = -1;  // the faction a capture wiped off the board
};

class ActionResolver {
 public:
  ActionResolver(GameData& data, Host& host, RandomSource& random)
      : data_(data), host_(host), random_(random) {}

  // Changes the board for `action` and composes its report; sets GameState
  // to Victory, LastHumanDestroyed or FactionDestroyed after a fatal capture.
  ActionOutcome Resolve(i16 action, i16 value, i16 target);
  // The report of the last action, without the mover's name.
  const std::string& Report() const { return report_; }

 private:
  ActionOutcome Attack(i16 level, i16 target);
  ActionOutcome Capture(DistrictRecord& victim);
  void Collect();
  void Buy(i16 action, i16& field, i16 amount, i16 limit, std::string_view before, std::string_view after);
  void DevelopWeapon();
  void AppendNumber(int value);
  DistrictRecord& Mover() { return data_.Districts[data_.CurrentDistrict]; }
  bool IsHumanFaction(int faction) const { return data_.PlayerOfFaction[faction] != 0; }

  GameData& data_;
  Host& host_;
  RandomSource& random_;
  std::string report_;  // reused: no allocation per move
};

}  // namespace yuunagi
