// Saves that survive being killed: a child process writes the four slots and
// the autosave over and over with the game's own writers, and is killed with
// SIGKILL after a short seeded delay, again and again. After every kill each
// file must read back whole: one of the records written, passing the reader,
// or absent when it was never written. The temporaries a killed save leaves
// are counted, and one more save must clear them all. Not a timed test: run
// by hand or by `make bench`; exits non-zero when a check fails.
//
//   yuunagi-bench-kill-saves --kills 500 --seed 2026
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "files/Autosave.h"
#include "files/Records.h"
#include "files/SaveFile.h"

namespace {

using namespace yuunagi;
namespace fs = std::filesystem;

// Records that differ in almost every byte, so that a file torn between two
// of them never passes for either.
constexpr int kVariantCount = 3;
constexpr int kFileCount = kSaveSlotCount + 1;  // the slots and the autosave

SaveRecord Variant(int v) {
  static const std::array<const char*, kVariantCount> kScenarios = {"ユウナギの夕暮れ", "三つ巴の港",
                                                                    "孤立のヒノデ"};
  SaveRecord r;
  r.TurnNumber = static_cast<std::int16_t>(7 + v * 101);
  r.MusicName = v % 2 == 0 ? "決戦の町" : "夕凪";
  r.ScenarioName = kScenarios[v];
  for (int d = 0; d < 6; ++d) {
    r.Owner[d] = static_cast<std::int16_t>((d + v) % 6);
    r.Money[d] = static_cast<std::int16_t>(1000 + v * 1234 + d);
    r.Soldiers[d] = static_cast<std::int16_t>(50 + v * 777 + d);
    r.Strength[d] = static_cast<std::int16_t>(10 + v * 55 + d);
    r.Weapon[d] = static_cast<std::int16_t>(1 + v + d % 3);
    r.Development[d] = static_cast<std::int16_t>(20 + v * 333 + d);
  }
  r.CurrentDistrict = static_cast<std::int16_t>(v);
  // Two humans, both holding a district, as the reader requires.
  r.PlayerOfFaction[v % 6] = 1;
  r.PlayerOfFaction[(v + 1) % 6] = 2;
  r.PlayerCount = 2;
  return r;
}

fs::path FileOf(const fs::path& folder, int file) {
  return file < kSaveSlotCount ? SaveSlotFile(folder, file) : AutosaveFile(folder);
}

// Writes slot `file` (or the autosave) with variant `v`, as the game does.
bool Write(const fs::path& folder, int file, int v, std::string* error) {
  SaveRecord record = Variant(v);
  if (file < kSaveSlotCount) return AccessSaveSlot(folder, file, kWriteSlot, record, error);
  return WriteAutosave(folder, record, error);
}

// The child: saves until it is killed. A failed save ends it with status 2.
[[noreturn]] void SaveForever(const fs::path& folder, unsigned start) {
  for (unsigned n = start;; ++n) {
    const int file = static_cast<int>(n % kFileCount);
    const int v = static_cast<int>((n / kFileCount) % kVariantCount);
    std::string error;
    if (!Write(folder, file, v, &error)) {
      std::fprintf(stderr, "save failed: %s\n", error.c_str());
      _exit(2);
    }
  }
}

// Whether `file` holds one of the records, whole, and the reader takes it.
bool IsWhole(const fs::path& file) {
  std::error_code ec;
  if (fs::file_size(file, ec) != kSaveRecordSize || ec) return false;
  const SaveToContinue save = ReadSaveToContinue(file);
  if (!save.CanContinue()) return false;
  for (int v = 0; v < kVariantCount; ++v)
    if (save.record == DecodeSave(EncodeSave(Variant(v)))) return true;
  return false;
}

// Hidden files in the folder: the temporaries of saves that did not finish.
int CountTemporaries(const fs::path& folder) {
  int count = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string().front() == '.') ++count;
  return count;
}

struct Tally {
  int kills = 0;
  int killsLeavingTemporary = 0;
  int mostTemporaries = 0;
  int tornFiles = 0;
  int vanishedFiles = 0;
  int childFailures = 0;
};

// Checks every file after a kill; a file once written must stay there.
void CheckFiles(const fs::path& folder, std::array<bool, kFileCount>& written, Tally& tally) {
  for (int file = 0; file < kFileCount; ++file) {
    const fs::path path = FileOf(folder, file);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) {
      if (written[file]) ++tally.vanishedFiles;
      continue;
    }
    written[file] = true;
    if (!IsWhole(path)) {
      ++tally.tornFiles;
      std::fprintf(stderr, "torn: %s\n", path.c_str());
    }
  }
}

// One child, killed after `delayMicros`.
void KillOnce(const fs::path& folder, unsigned start, long delayMicros, Tally& tally) {
  const pid_t child = ::fork();
  if (child < 0) {
    std::perror("fork");
    std::exit(1);
  }
  if (child == 0) SaveForever(folder, start);
  const timespec delay{delayMicros / 1000000, (delayMicros % 1000000) * 1000};
  ::nanosleep(&delay, nullptr);
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ++tally.kills;
  if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) ++tally.childFailures;
}

// One more save of every slot and the autosave; false when one fails.
bool SaveEverythingOnce(const fs::path& folder) {
  bool ok = true;
  for (int file = 0; file < kFileCount; ++file) {
    std::string error;
    if (!Write(folder, file, 0, &error)) {
      std::fprintf(stderr, "save failed: %s\n", error.c_str());
      ok = false;
    }
  }
  return ok;
}

// Prints the figures; true when every check passed.
bool Report(const Tally& tally, bool savedAgain, int temporariesAfter) {
  std::printf("kills: %d\n", tally.kills);
  std::printf("kills that left a temporary: %d (at most %d at once)\n", tally.killsLeavingTemporary,
              tally.mostTemporaries);
  std::printf("torn files: %d\n", tally.tornFiles);
  std::printf("files that vanished: %d\n", tally.vanishedFiles);
  std::printf("children that ended before the kill: %d\n", tally.childFailures);
  std::printf("temporaries after the next save: %d\n", temporariesAfter);
  const bool passed = tally.tornFiles == 0 && tally.vanishedFiles == 0 && tally.childFailures == 0 &&
                      savedAgain && temporariesAfter == 0;
  std::printf("%s\n", passed ? "PASS" : "FAIL");
  return passed;
}

}  // namespace

int main(int argc, char** argv) {
  int kills = 500;
  unsigned seed = 2026;
  long longestDelay = 4000;
  CLI::App app{"Kills saves and autosaves midway and checks that every file stays whole."};
  app.add_option("--kills", kills, "how many times the saving child is killed (default 500)")
      ->check(CLI::Range(1, 1000000));
  app.add_option("--seed", seed, "seed of the delays before each kill (default 2026)");
  app.add_option("--longest-delay", longestDelay,
                 "longest delay before a kill, in microseconds (default 4000)")
      ->check(CLI::Range(1L, 1000000L));
  CLI11_PARSE(app, argc, argv);

  char pattern[] = "/tmp/yuunagi-kill-saves.XXXXXX";
  if (::mkdtemp(pattern) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path folder = pattern;
  std::mt19937_64 random(seed);
  // Spread evenly on a log scale: as many kills within microseconds of the
  // start as within the last milliseconds.
  std::uniform_real_distribution<double> logDelay(0.0, std::log(static_cast<double>(longestDelay)));
  std::uniform_int_distribution<unsigned> start(0, kFileCount * kVariantCount - 1);
  Tally tally;
  std::array<bool, kFileCount> written{};
  for (int k = 0; k < kills; ++k) {
    KillOnce(folder, start(random), std::lround(std::exp(logDelay(random))), tally);
    CheckFiles(folder, written, tally);
    const int temporaries = CountTemporaries(folder);
    if (temporaries > 0) ++tally.killsLeavingTemporary;
    tally.mostTemporaries = std::max(tally.mostTemporaries, temporaries);
  }
  const bool savedAgain = SaveEverythingOnce(folder);
  const int temporariesAfter = CountTemporaries(folder);
  written.fill(true);
  CheckFiles(folder, written, tally);
  std::error_code ec;
  fs::remove_all(folder, ec);

  return Report(tally, savedAgain, temporariesAfter) ? 0 : 1;
}
