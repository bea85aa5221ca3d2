// How fast the engine plays: computer moves per second on one core, with the
// window-less host the simulator uses; and how fast a huge scenario folder is listed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/HeadlessGame.h"
#include "files/ScenarioFile.h"
#include "rules/ActionResolver.h"
#include "rules/ComputerStrategy.h"
#include "rules/RuleBook.h"
#include "rules/StrongStrategy.h"
#include "tests/support/EvenStart.h"

namespace {

using namespace yuunagi;

// Whole spectator games, start to victory; the counter is moves per second.
void BM_SpectatorGames(benchmark::State& state) {
  const ScenarioRecord scenario = test::EvenStart();
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
  SeededRandom random(99);
  Board g;
  g.PlayerCount = kSpectatorPlayerCount;
  g.TurnNumber = 5;
  ComputerStrategy strategy;
  const auto reset = [&] {
    for (int i = 0; i < 6; ++i) g.Districts[i] = DistrictRecord{static_cast<i16>(i), 500, 3000, 20, 3, 50};
  };
  reset();
  long long n = 0;
  for (auto _ : state) {
    g.CurrentDistrict = static_cast<i16>(n % 6);
    if (const auto d = strategy.Decide(g, random); d && CheckBoardAction(g, d->action, d->value, d->target)) {
      ApplyAction(g, d->action, d->value, d->target, random);
    }
    if (++n % 600 == 0) reset();  // keep every faction on the board
  }
  state.counters["moves_per_second"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ComputerMove);

// Listing a scenario folder of 40,000 files whose long names differ only at
// their ends: it grows as n log n (comparing every name with every other
// one took 3.6 s at this size).
void BM_ListHugeScenarioFolder(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::path(std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp") /
      ("yuunagi-bench-list-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string common(240, 'x');
  const int files = static_cast<int>(state.range(0));
  for (int i = 0; i < files; ++i) std::ofstream(folder / (common + std::to_string(100000 + i) + ".dat"));
  std::size_t listed = 0;
  for (auto _ : state) listed = ListScenarios(folder).size();
  std::filesystem::remove_all(folder);
  if (listed != static_cast<std::size_t>(files)) state.SkipWithError("not every file was listed");
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ListHugeScenarioFolder)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

// One decision of the strong player. Arg 0: the even start's first move.
// Arg 1: its dearest position, five enemy districts that no blow captures and
// money for every weapon and amount (the most candidates to play ahead).
void BM_StrongDecision(benchmark::State& state) {
  GameData g;
  g.PlayerCount = kSpectatorPlayerCount;
  g.GameState = Phase::Moving;
  g.TurnNumber = state.range(0) == 0 ? 1 : 12;
  for (int i = 0; i < 6; ++i) {
    g.Districts[i] = state.range(0) == 0 ? DistrictRecord{static_cast<i16>(i), 100, 50, 10, 1, 10}
                                         : DistrictRecord{static_cast<i16>(i), 2000, 5000, 30, 5, 100};
  }
  StrongStrategy strong(1);
  SeededRandom unused(1);
  for (auto _ : state) benchmark::DoNotOptimize(strong.Decide(g, unused));
}
BENCHMARK(BM_StrongDecision)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
