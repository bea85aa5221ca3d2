// yuunagi-sim: plays spectator games of a scenario with the real engine, no
// window and no pause, and tells a scenario author who wins how often.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "core/HeadlessGame.h"
#include "files/Playability.h"
#include "files/ScenarioFile.h"
#include "files/Text.h"

namespace {

using namespace yuunagi;

constexpr int kExitBadData = 1;  // a scenario that cannot be read or played
constexpr int kExitUsage = 2;    // a command line the tool does not understand

// Each worker keeps a tally of some 256 KiB: this many cannot exhaust the memory.
constexpr int kMostThreads = 256;

// A seed is a decimal number that fits 64 bits unsigned: no sign, no
// exponent, no blank, nothing that wraps around.
bool ParseSeed(const std::string& text, std::uint64_t& seed) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seed);
  return ec == std::errc() && end == text.data() + text.size();
}

struct Options {
  std::string scenarioPath;
  long long games = 1000;
  std::uint64_t seed = 1;
  int threads = 0;
  int maxTurns = 5000;
  bool trace = false;
  bool json = false;
  std::vector<int> strong;  // factions the strong computer player plays
};

std::array<ComputerLevel, kFactionCount> Levels(const Options& options) {
  std::array<ComputerLevel, kFactionCount> levels{};
  for (const int f : options.strong) levels[f] = ComputerLevel::Strong;
  return levels;
}

// The strong player's own seed for a game: apart from the game's chances.
std::uint64_t StrongSeed(std::uint64_t gameSeed) { return gameSeed ^ 0xC2B2AE3D27D4EB4FULL; }

// Every game has its own generator, derived from the seed and the game's
// number, so the results do not depend on how games are spread over threads.
std::uint64_t GameSeed(std::uint64_t seed, long long game) {
  return seed ^ (0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(game + 1));
}

int RunTrace(const Options& options, const ScenarioRecord& scenario, const std::string& name) {
  SeededRandom random(GameSeed(options.seed, 0));
  HeadlessHost host;
  host.trace = [](std::string_view line) { std::cout << line << '\n'; };
  const HeadlessResult result = PlayHeadlessGame(scenario, name, random, options.maxTurns, host,
                                                 Levels(options), StrongSeed(GameSeed(options.seed, 0)));
  if (result.winner < 0) std::cout << "引き分け (" << options.maxTurns << " ターンで決着せず)\n";
  return 0;
}

void DrawProgress(long long done, long long total) {
  const int width = 40;
  const int filled = static_cast<int>(width * done / std::max(1LL, total));
  std::string bar(filled, '#');
  bar.resize(width, '.');
  std::fprintf(stderr, "\r[%s] %lld/%lld", bar.c_str(), done, total);
  std::fflush(stderr);
}

// What the games of one worker add up to. Kept as counts, so memory does not
// grow with the number of games, and merged in any order to the same result.
struct Tally {
  std::array<long long, kFactionCount> wins{};
  long long draws = 0;
  long long moves = 0;
  std::vector<long long> gamesOfLength = std::vector<long long>(32769, 0);  // by turns played

  void Add(const HeadlessResult& r) {
    if (r.winner >= 0 && r.winner < kFactionCount)
      ++wins[r.winner];
    else
      ++draws;
    moves += r.moves;
    ++gamesOfLength[static_cast<std::size_t>(std::clamp(r.turns, 0, 32768))];
  }
  void Merge(const Tally& other) {
    for (int f = 0; f < kFactionCount; ++f) wins[f] += other.wins[f];
    draws += other.draws;
    moves += other.moves;
    for (std::size_t t = 0; t < gamesOfLength.size(); ++t) gamesOfLength[t] += other.gamesOfLength[t];
  }
  // The turns of the k-th shortest game (k from 0).
  int TurnsOfGame(long long k) const {
    for (std::size_t t = 0; t < gamesOfLength.size(); ++t) {
      if (k < gamesOfLength[t]) return static_cast<int>(t);
      k -= gamesOfLength[t];
    }
    return 0;
  }
};

// One worker per thread, at most one per game.
int ThreadCount(const Options& options) {
  const int threads =
      options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency());
  return static_cast<int>(
      std::clamp<long long>(threads, 1, std::min<long long>(kMostThreads, options.games)));
}

// Plays every game on `threads` workers, drawing a progress bar on a
// terminal; each worker's tally.
std::vector<Tally> PlayGames(const Options& options, const ScenarioRecord& scenario, const std::string& name,
                             int threads) {
  const long long games = options.games;
  std::vector<Tally> tallies(static_cast<std::size_t>(threads));
  std::atomic<long long> next{0}, done{0};
  const bool progress = !options.json && isatty(STDERR_FILENO);
  const auto levels = Levels(options);
  auto worker = [&](Tally& tally) {
    HeadlessHost host;
    for (long long g = next++; g < games; g = next++) {
      SeededRandom random(GameSeed(options.seed, g));
      tally.Add(PlayHeadlessGame(scenario, name, random, options.maxTurns, host, levels,
                                 StrongSeed(GameSeed(options.seed, g))));
      ++done;
    }
  };
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) pool.emplace_back(worker, std::ref(tallies[static_cast<std::size_t>(t)]));
  if (progress) {
    while (done < games) {
      DrawProgress(done, games);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    DrawProgress(games, games);
    std::fputc('\n', stderr);
  }
  for (auto& t : pool) t.join();
  return tallies;
}

// What the games add up to, as printed.
struct Results {
  long long games = 0;
  int threads = 0;
  double seconds = 0;
  Tally total;
  int minTurns = 0, medianTurns = 0, maxTurns = 0;
  double movesPerSecond = 0;
};

void PrintJson(const Options& options, const Results& r) {
  nlohmann::json out;
  out["games"] = r.games;
  out["wins"] = r.total.wins;
  out["draws"] = r.total.draws;
  out["turns"] = {{"min", r.minTurns}, {"median", r.medianTurns}, {"max", r.maxTurns}};
  out["moves"] = r.total.moves;
  out["seconds"] = r.seconds;
  out["moves_per_second"] = r.movesPerSecond;
  out["strong"] = options.strong;
  std::cout << out.dump() << '\n';
}

void PrintTable(const Options& options, const std::string& name, const Results& r) {
  const long long games = r.games;
  std::printf("シナリオ: %s  (%lld 試合, seed %llu, %d スレッド)\n", name.c_str(), games,
              static_cast<unsigned long long>(options.seed), r.threads);
  if (!options.strong.empty()) {
    std::string names;
    for (const int f : options.strong) names.append(names.empty() ? "" : ", ").append(FactionNames[f]);
    std::printf("  強い: %s (ほかは普通)\n", names.c_str());
  }
  for (int f = 0; f < kFactionCount; ++f) {
    const std::string label(FactionNames[f]);
    std::printf("  %s%*s 勝利 %7lld  %6.2f%%\n", label.c_str(), static_cast<int>(8 - Utf16Length(label) * 2),
                "", r.total.wins[f], games ? 100.0 * r.total.wins[f] / games : 0.0);
  }
  std::printf("  引き分け     %7lld  %6.2f%%  (%d ターンで打ち切り)\n", r.total.draws,
              games ? 100.0 * r.total.draws / games : 0.0, options.maxTurns);
  std::printf("ターン数: 最小 %d / 中央値 %d / 最大 %d\n", r.minTurns, r.medianTurns, r.maxTurns);
  std::printf("手数: %lld  (%.2f 秒, 毎秒 %.0f 手)\n", r.total.moves, r.seconds, r.movesPerSecond);
}

int RunMany(const Options& options, const ScenarioRecord& scenario, const std::string& name) {
  Results r;
  r.games = options.games;
  r.threads = ThreadCount(options);
  const auto start = std::chrono::steady_clock::now();
  const std::vector<Tally> tallies = PlayGames(options, scenario, name, r.threads);
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  for (const Tally& t : tallies) r.total.Merge(t);
  r.minTurns = r.total.TurnsOfGame(0);
  r.maxTurns = r.total.TurnsOfGame(r.games - 1);
  r.medianTurns = r.total.TurnsOfGame(r.games / 2);
  r.movesPerSecond = r.seconds > 0 ? r.total.moves / r.seconds : 0.0;
  if (options.json) {
    PrintJson(options, r);
  } else {
    PrintTable(options, name, r);
  }
  return 0;
}

// Reads the command line into `options`. The exit status when the tool is
// done already (--help, --version) or cannot go on; nothing when it plays.
std::optional<int> ReadCommandLine(int argc, char** argv, Options& options) {
  std::string seed = "1";
  CLI::App app{"ユウナギ町争奪戦: plays spectator games of a scenario and counts who wins.", "yuunagi-sim"};
  app.footer(
      "Exit status: 0 done; 1 bad data: a scenario that cannot be read or played, said in one line on\n"
      "stderr; 2 a usage error: an unknown option, a missing scenario, a value out of its range.");
  app.set_version_flag("--version", "yuunagi-sim " YUUNAGI_VERSION);
  app.add_option("scenario", options.scenarioPath, "scenario file (.dat)")->required();
  app.add_option("--games", options.games, "number of games, 1..100000000 (default 1000)")
      ->check(CLI::Range(1LL, 100000000LL));
  app.add_option("--seed", seed,
                 "seed of the random numbers, 0..18446744073709551615 (default 1; same seed, same result)");
  app.add_option("--threads", options.threads,
                 "worker threads, 0..256 (default 0: one per core, at most 256)")
      ->check(CLI::Range(0, kMostThreads));
  app.add_option("--max-turns", options.maxTurns,
                 "a game still running after this many turns is a draw, 1..32767 (default 5000)")
      ->check(CLI::Range(1, 32767));
  app.add_flag("--trace", options.trace, "play one game and print every move");
  app.add_flag("--json", options.json, "print the results as one JSON object");
  app.add_option("--strong", options.strong, "factions played by the strong computer player, e.g. 0 or 0,3")
      ->delimiter(',')
      ->check(CLI::Range(0, kFactionCount - 1));
  try {
    app.parse(argc, argv);
    if (!ParseSeed(seed, options.seed))
      throw CLI::ValidationError("--seed", seed + " is not a whole number from 0 to 18446744073709551615");
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
    std::cerr << "yuunagi-sim: " << e.what() << " (see yuunagi-sim --help)\n";
    return kExitUsage;
  }
  std::sort(options.strong.begin(), options.strong.end());
  options.strong.erase(std::unique(options.strong.begin(), options.strong.end()), options.strong.end());
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit on the output makes a write fail instead of killing the tool.
  std::signal(SIGXFSZ, SIG_IGN);
  Options options;
  if (const std::optional<int> status = ReadCommandLine(argc, argv, options)) return *status;

  std::string error;
  const auto scenario = ReadScenarioFile(options.scenarioPath, &error);
  if (!scenario) {
    std::cerr << "yuunagi-sim: " << error << '\n';
    return kExitBadData;
  }
  if (const auto problem = CheckScenario(*scenario)) {
    std::cerr << "yuunagi-sim: " << *problem << '\n';
    return kExitBadData;
  }
  const std::string name = StripExtension(std::filesystem::path(options.scenarioPath).filename().string());
  return options.trace ? RunTrace(options, *scenario, name) : RunMany(options, *scenario, name);
}
