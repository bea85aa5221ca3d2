// How strong the strong computer player is, and how long it thinks: plays
// many spectator games with some factions strong and the rest on the game's
// own chain of chances, counts the strong factions' wins (with a 95 %
// interval) and times every strong move. Run by hand; it asserts nothing.
//
//   yuunagi-strong-bench build/bin/Scenario/ユウナギの夕暮れ.dat --strong 0 --games 10000 --threads 2
//   yuunagi-strong-bench even --strong 0,1,2,3,4,5 --games 1000
//   yuunagi-strong-bench build/bin/Scenario/三つ巴の港.dat --strong rotate --games 10000
//   yuunagi-strong-bench even --strong none --games 10000
//
// "rotate" makes one faction strong in each game, each faction of the start
// in turn, and gives every faction's share in the games it played strong;
// "none" plays the game's own strategy alone, the shares to compare with.
//
// Time the moves with --threads 1 on an otherwise idle machine: with both
// cores of a virtual machine busy, the host may stop a core for a while
// (about 100 ms seen here), and that stop is counted as CPU time of the
// thread that was running.
#include <time.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>

#include "core/HeadlessGame.h"
#include "files/ScenarioFile.h"
#include "files/Text.h"
#include "rules/StrongStrategy.h"
#include "tests/support/EvenStart.h"

namespace {

using namespace yuunagi;
using Clock = std::chrono::steady_clock;

// Processor time of the calling thread, in microseconds: what a move costs
// on a core of its own, however busy the machine is with other work.
double ThreadMicros() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

struct Tally {
  std::array<long long, kFactionCount> wins{};
  std::array<long long, kFactionCount> gamesStrong{};  // "rotate": games each faction played strong
  std::array<long long, kFactionCount> winsStrong{};
  long long draws = 0;
  long long turns = 0;
  std::vector<float> decisionMicros;
};

// Wilson's 95 % interval for k successes in n trials.
std::pair<double, double> Interval(long long k, long long n) {
  if (n == 0) return {0, 0};
  const double z = 1.959964, p = static_cast<double>(k) / n, z2n = z * z / n;
  const double centre = (p + z2n / 2) / (1 + z2n);
  const double half = z * std::sqrt(p * (1 - p) / n + z2n / (4.0 * n)) / (1 + z2n);
  return {centre - half, centre + half};
}

// What the command line asks for.
struct BenchOptions {
  std::string scenarioPath;
  std::string strongText = "0";
  long long games = 1000;
  std::uint64_t seed = 1;
  int threads = 1;
  int maxTurns = 5000;
};

using Levels = std::array<ComputerLevel, kFactionCount>;

// The start the games begin from, and its name: a scenario file, or the
// even start. False, with the reason on stderr, for a file it cannot read.
bool LoadStart(const std::string& path, ScenarioRecord& scenario, std::string& name) {
  scenario = test::EvenStart();
  name = "均等な六勢力";
  if (path == "even") return true;
  std::string error;
  const auto read = ReadScenarioFile(path, &error);
  if (!read) {
    std::cerr << error << '\n';
    return false;
  }
  scenario = *read;
  name = StripExtension(std::filesystem::path(path).filename().string());
  return true;
}

// The factions holding a district at the start, for "rotate".
std::vector<int> Seats(const ScenarioRecord& scenario) {
  std::vector<int> seats;
  for (int f = 0; f < kFactionCount; ++f) {
    if (std::find(scenario.StartOwner.begin(), scenario.StartOwner.end(), f) != scenario.StartOwner.end()) {
      seats.push_back(f);
    }
  }
  return seats;
}

// The factions a list such as "0,3" makes strong; "rotate" and "none" make
// none strong for every game. False, with the reason on stderr, for a bad list.
bool ReadStrongList(const std::string& strongText, Levels& levels) {
  if (strongText == "rotate" || strongText == "none") return true;
  std::stringstream list(strongText);
  for (std::string item; std::getline(list, item, ',');) {
    if (item.size() != 1 || item[0] < '0' || item[0] >= '0' + kFactionCount) {
      std::cerr << "--strong: " << strongText << " is not a list of factions 0-5, rotate or none\n";
      return false;
    }
    levels[item[0] - '0'] = ComputerLevel::Strong;
  }
  return true;
}

// The games of the bench, on as many threads as asked; the tallies of all
// threads, summed. `seats` is empty unless one faction a game is strong in turn.
struct Match {
  const BenchOptions& options;
  const ScenarioRecord& scenario;
  const std::string& name;
  const Levels& levels;
  const std::vector<int>& seats;

  // Plays games until none is left, timing every strong decision.
  void Work(Tally& tally, std::atomic<long long>& next) const {
    HeadlessHost host;
    for (long long g = next++; g < options.games; g = next++) {
      SeededRandom random(Mix(options.seed ^ Mix(static_cast<std::uint64_t>(g))));
      Levels gameLevels = levels;
      const int seat = seats.empty() ? -1 : seats[static_cast<std::size_t>(g) % seats.size()];
      if (seat >= 0) gameLevels[seat] = ComputerLevel::Strong;
      double before = ThreadMicros();
      const auto timeMove = [&](const Engine& engine) {
        const double now = ThreadMicros();
        const GameData& d = engine.Data();
        if (gameLevels[d.Districts[d.CurrentDistrict].Owner] == ComputerLevel::Strong) {
          tally.decisionMicros.push_back(static_cast<float>(now - before));
        }
        before = ThreadMicros();
      };
      const HeadlessResult r =
          PlayHeadlessGame(scenario, name, random, options.maxTurns, host, gameLevels,
                           Mix((options.seed + 0x5EED) ^ static_cast<std::uint64_t>(g)), timeMove);
      if (seat >= 0) {
        ++tally.gamesStrong[seat];
        tally.winsStrong[seat] += r.winner == seat;
      }
      if (r.winner >= 0) {
        ++tally.wins[r.winner];
      } else {
        ++tally.draws;
      }
      tally.turns += r.turns;
    }
  }

  std::vector<Tally> Play() const {
    std::vector<Tally> tallies(static_cast<std::size_t>(options.threads));
    std::atomic<long long> next{0};
    std::vector<std::thread> pool;
    for (int t = 0; t < options.threads; ++t) {
      pool.emplace_back([&, t] { Work(tallies[static_cast<std::size_t>(t)], next); });
    }
    for (auto& t : pool) t.join();
    return tallies;
  }
};

Tally Sum(const std::vector<Tally>& tallies) {
  Tally total;
  for (const Tally& t : tallies) {
    for (int f = 0; f < kFactionCount; ++f) {
      total.wins[f] += t.wins[f];
      total.gamesStrong[f] += t.gamesStrong[f];
      total.winsStrong[f] += t.winsStrong[f];
    }
    total.draws += t.draws;
    total.turns += t.turns;
    total.decisionMicros.insert(total.decisionMicros.end(), t.decisionMicros.begin(), t.decisionMicros.end());
  }
  return total;
}

// Each faction's wins, and with "rotate" its wins in the games it played strong.
void PrintShares(const BenchOptions& options, const Levels& levels, bool rotate, const Tally& total) {
  const long long games = options.games;
  long long strongWins = 0;
  for (int f = 0; f < kFactionCount; ++f) {
    const bool isStrong = levels[f] == ComputerLevel::Strong;
    if (isStrong || rotate) strongWins += rotate ? total.winsStrong[f] : total.wins[f];
    const auto [low, high] = Interval(total.wins[f], games);
    std::printf("  %d %s (%s) 勝利 %7lld  %6.2f%%  [%5.2f, %5.2f]", f, std::string(FactionNames[f]).c_str(),
                isStrong ? "強い"
                : rotate ? "交代"
                         : "普通",
                total.wins[f], 100.0 * total.wins[f] / games, 100 * low, 100 * high);
    if (rotate && total.gamesStrong[f] > 0) {
      const auto [sLow, sHigh] = Interval(total.winsStrong[f], total.gamesStrong[f]);
      std::printf("   強い時 %lld / %lld = %6.2f%%  [%5.2f, %5.2f]", total.winsStrong[f],
                  total.gamesStrong[f], 100.0 * total.winsStrong[f] / total.gamesStrong[f], 100 * sLow,
                  100 * sHigh);
    }
    std::printf("\n");
  }
  const auto [low, high] = Interval(strongWins, games);
  std::printf(
      "  強い勢力の勝利 %lld / %lld = %.2f%%  95%% 区間 [%.2f, %.2f]  (引き分け %lld, 平均 %.1f ターン)\n",
      strongWins, games, 100.0 * strongWins / games, 100 * low, 100 * high, total.draws,
      static_cast<double>(total.turns) / games);
}

// The thread time of the strong decisions: median, 99th percentile, longest.
void PrintDecisionTimes(std::vector<float>& times) {
  if (times.empty()) return;
  std::sort(times.begin(), times.end());
  const auto at = [&](double q) { return times[static_cast<std::size_t>(q * (times.size() - 1))] / 1000.0; };
  const auto over = times.end() - std::upper_bound(times.begin(), times.end(), 50000.0f);
  std::printf(
      "  強い手 %zu 回 (スレッドの CPU 時間): 中央値 %.2f ms, 99%% 点 %.2f ms, 最大 %.2f ms, 50 ms 超 %td "
      "回\n",
      times.size(), at(0.5), at(0.99), at(1.0), over);
}

}  // namespace

int main(int argc, char** argv) {
  BenchOptions options;
  const LookAheadBudget budget;
  CLI::App app{"Win shares and move times of the strong computer player."};
  app.add_option("scenario", options.scenarioPath,
                 "scenario file (.dat), or \"even\" for the even six-faction start")
      ->required();
  app.add_option("--strong", options.strongText,
                 "factions the strong player plays: a list such as 0 or 0,3, \"rotate\" (one faction a game, "
                 "each in turn) or \"none\" (default 0)");
  app.add_option("--games", options.games, "number of games (default 1000)")
      ->check(CLI::Range(1LL, 100000000LL));
  app.add_option("--seed", options.seed, "seed (same seed, same result at any thread count)");
  app.add_option("--threads", options.threads, "worker threads (default 1)")->check(CLI::Range(1, 64));
  app.add_option("--max-turns", options.maxTurns, "turn limit of a game (a draw)")
      ->check(CLI::Range(1, 32767));
  CLI11_PARSE(app, argc, argv);

  ScenarioRecord scenario;
  std::string name;
  if (!LoadStart(options.scenarioPath, scenario, name)) return 1;
  Levels levels{};
  const bool rotate = options.strongText == "rotate";
  const std::vector<int> seats = rotate ? Seats(scenario) : std::vector<int>{};
  if (!ReadStrongList(options.strongText, levels)) return 2;

  const auto start = Clock::now();
  Tally total = Sum(Match{options, scenario, name, levels, seats}.Play());
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("%s: %lld 試合, 強い = %s, seed %llu, 先読み %d 回 x %d 手, %.1f 秒 (%d スレッド)\n",
              name.c_str(), options.games, options.strongText.c_str(),
              static_cast<unsigned long long>(options.seed), budget.playouts, budget.horizon, seconds,
              options.threads);
  PrintShares(options, levels, rotate, total);
  PrintDecisionTimes(total.decisionMicros);
  return 0;
}
