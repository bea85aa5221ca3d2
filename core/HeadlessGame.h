// A game without a window: the simulator, the benchmarks and the tests play
// spectator games with the real engine through this host.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/Engine.h"
#include "core/Host.h"

namespace yuunagi {

// A host that draws nothing and never pauses. Computer moves are handed back
// to the loop in PlayHeadlessGame, one at a time, so no game nests.
class HeadlessHost : public Host {
 public:
  // Receives every line a player would read: turn headers, the message
  // line, message boxes. Empty: print nothing (the fast path).
  std::function<void(std::string_view)> trace;

  bool nextMovePending = false;
  bool ended = false;
  int humanMovesOffered = 0;

  void RefreshDistrictPanel(int) override {}
  void DrawDistrictEmblems() override {}
  void ReportAction(const ActionReport& report) override;
  void ShowGameLine(GameLine line) override;
  void ShowNotice(const Notice& notice) override;
  void PlayMusic(std::string_view) override {}
  void StopMusic() override {}
  void Yield() override {}
  void ShowGameScreen(std::string_view) override {}
  void ShowTurnNumber(int turn) override;
  void ShowMoveStart(const MoveStart&) override {}
  void HighlightMover(int, bool) override {}
  void ShowActionMenu(int) override { ++humanMovesOffered; }
  void ScheduleNextMove(float) override { nextMovePending = true; }
  void EndProgram() override { ended = true; }
};

struct HeadlessResult {
  int winner = -1;      // faction index, or -1 for a draw
  int turns = 0;        // turns played, the first one included
  long long moves = 0;  // actions carried out
};

// Plays the scenario as a spectator game to its end, or until `maxTurns`
// turns have been played (a draw). A board the game cannot show (an owner
// outside 0..5) is not played: a draw of 0 turns. `afterMove`, if given, is called after
// every computer move with the engine (for invariant checks).
HeadlessResult PlayHeadlessGame(const ScenarioRecord& scenario, std::string_view scenarioName,
                                RandomSource& random, int maxTurns, HeadlessHost& host,
                                const std::function<void(const Engine&)>& afterMove = {});

// The same, with each faction's computer player as `levels` says; the strong
// player's look-ahead is seeded with `strongSeed`.
HeadlessResult PlayHeadlessGame(const ScenarioRecord& scenario, std::string_view scenarioName,
                                RandomSource& random, int maxTurns, HeadlessHost& host,
                                const std::array<ComputerLevel, kFactionCount>& levels,
                                std::uint64_t strongSeed,
                                const std::function<void(const Engine&)>& afterMove = {});

}  // namespace yuunagi
