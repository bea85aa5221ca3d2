// How fast the engine plays: computer moves per second on one core, with the
// window-less host the simulator uses.
#include <benchmark/benchmark.h>

#include "core/HeadlessGame.h"
#include "rules/ActionResolver.h"
#include "rules/ComputerStrategy.h"
#include "rules/RuleBook.h"

namespace {

using namespace yuunagi;

ScenarioRecord ClassicScenario() {
  ScenarioRecord s;
  s.StartTurn = 1;
  s.Music = "決戦の町";
  for (int i = 0; i < 6; ++i) {
    s.StartOwner[i] = static_cast<i16>(i);
    s.StartMoney[i] = 100;
    s.StartSoldiers[i] = 50;
    s.StartStrength[i] = 10;
    s.StartWeapon[i] = 1;
    s.StartDevelopment[i] = 10;
  }
  return s;
}

// Whole spectator games, start to victory; the counter is moves per second.
void BM_SpectatorGames(benchmark::State& state) {
  const ScenarioRecord scenario = ClassicScenario();
  HeadlessHost host;
  std::uint64_t seed = 1;
  long long moves = 0;
  for (auto _ : state) {
    SeededRandom random(seed++);
    const HeadlessResult result = PlayHeadlessGame(scenario, "bench", random, 5000, host);
    moves += result.moves;
    benchmark::DoNotOptimize(result);
  }
  state.counters["moves_per_second"] =
      benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
  state.counters["moves_per_game"] = static_cast<double>(moves) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SpectatorGames)->Unit(benchmark::kMillisecond);

// One computer move at a time on a board that never ends: the strategy, the
// rule book's check and the action alone, without the turn cycle.
void BM_ComputerMove(benchmark::State& state) {
  HeadlessHost host;
  SeededRandom random(99);
  GameData g;
  g.PlayerCount = kSpectatorPlayerCount;
  g.TurnNumber = 5;
  g.GameState = State::Moving;
  ActionResolver resolver(g, host, random);
  ComputerStrategy strategy;
  const auto reset = [&] {
    for (int i = 0; i < 6; ++i) g.Districts[i] = DistrictRecord{static_cast<i16>(i), 500, 3000, 20, 3, 50};
  };
  reset();
  long long n = 0;
  for (auto _ : state) {
    g.CurrentDistrict = static_cast<i16>(n % 6);
    if (const auto d = strategy.Decide(g, random); d && CheckBoardAction(g, d->action, d->value, d->target)) {
      resolver.Resolve(d->action, d->value, d->target);
    }
    if (++n % 600 == 0) reset();  // keep every faction on the board
  }
  state.counters["moves_per_second"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ComputerMove);

}  // namespace

BENCHMARK_MAIN();
