#include "core/HeadlessGame.h"

#include <cstdint>
#include <string>

namespace yuunagi {

void HeadlessHost::ReportAction(const ActionReport& report) {
  if (trace) trace(MessageLineText(report));
}

void HeadlessHost::ShowGameLine(GameLine line) {
  if (trace) trace(GameLineText(line));
}

void HeadlessHost::ShowNotice(const Notice& notice) {
  if (trace) trace("【" + NoticeText(notice) + "】");
}

void HeadlessHost::ShowTurnNumber(int turn) {
  if (trace) trace("―― Turn " + std::to_string(turn) + " ――");
}

HeadlessResult PlayHeadlessGame(const ScenarioRecord& scenario, std::string_view scenarioName,
                                RandomSource& random, int maxTurns, HeadlessHost& host,
                                const std::function<void(const Engine&)>& afterMove) {
  return PlayHeadlessGame(scenario, scenarioName, random, maxTurns, host, {}, 0, afterMove);
}

HeadlessResult PlayHeadlessGame(const ScenarioRecord& scenario, std::string_view scenarioName,
                                RandomSource& random, int maxTurns, HeadlessHost& host,
                                const std::array<ComputerLevel, kFactionCount>& levels,
                                std::uint64_t strongSeed,
                                const std::function<void(const Engine&)>& afterMove) {
  Engine engine(host, random);
  for (int f = 0; f < kFactionCount; ++f) engine.SetComputerLevel(f, levels[f]);
  engine.SetStrongSeed(strongSeed);
  const GameData& data = engine.Data();
  engine.ChooseScenario(scenario, std::string(scenarioName));
  host.nextMovePending = false;
  host.ended = false;

  if (!engine.StartNewGameFromScenario()) return HeadlessResult{};
  const int firstTurn = data.TurnNumber;
  const auto turnsPlayed = [&] { return data.TurnNumber - firstTurn + 1; };
  if (afterMove) afterMove(engine);
  while (!engine.Finished() && host.nextMovePending) {
    // The next move would open a turn beyond the limit: call it a draw.
    // (The turn counter stops at its 16-bit top, so that ends a game too.)
    if (data.CurrentDistrict == kDistrictCount - 1 &&
        (turnsPlayed() >= maxTurns || data.TurnNumber == INT16_MAX)) {
      break;
    }
    host.nextMovePending = false;
    engine.NextMove();
    if (afterMove) afterMove(engine);
  }
  HeadlessResult result;
  result.winner = engine.Winner();
  result.turns = turnsPlayed();
  result.moves = engine.MoveCount();
  return result;
}

}  // namespace yuunagi
