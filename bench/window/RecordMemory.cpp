// The war record window (戦況記録) over long games:
//   memory      a headless spectator game of 10,000 computer moves, every
//               report and turn fed into the record and its window as the
//               game's host does it; prints the record's bytes and the
//               process's resident memory before and after;
//   screenshot  plays a spectator game of ユウナギの夕暮れ to its end and saves
//               the record window as a PNG (for the README).
// Usage: yuunagi-bench-record-memory memory
//        yuunagi-bench-record-memory screenshot OUTPUT.png [SEED]
// Run under QT_QPA_PLATFORM=offscreen (or a virtual X display).
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>

#include <cstdio>
#include <string>

#include "bench/ResidentMemory.h"
#include "core/HeadlessGame.h"
#include "core/WarRecordWindow.h"
#include "files/ScenarioFile.h"
#include "tests/support/EvenStart.h"

using namespace yuunagi;

namespace {

// A game that lasts well over 10,000 moves: no money and no development, so
// every move is an attack with fists, and a strength far below zero, so the
// attacks feed the targets' armies for a long time.
ScenarioRecord LongScenario() {
  return test::EvenStart({.money = 0, .soldiers = 10000, .strength = -1000, .development = 0});
}

// Passes on to the record window what the game window's host passes on.
class RecordingHost : public HeadlessHost {
 public:
  explicit RecordingHost(WarRecordWindow& window) : window_(window) {}
  const GameData* data = nullptr;

  void ReportAction(const ActionReport& report) override { window_.RecordAction(*data, report); }
  void ShowGameLine(GameLine line) override { window_.RecordGameLine(*data, line); }
  void ShowNotice(const Notice& notice) override { window_.RecordNotice(*data, notice); }
  void ShowTurnNumber(int) override { window_.RecordTurn(*data); }

 private:
  WarRecordWindow& window_;
};

// Plays a spectator game until it ends or `maxMoves` moves are made; lets
// the window draw every `drawEvery` moves. Returns the moves made.
long long Play(WarRecordWindow& window, const ScenarioRecord& scenario, std::uint64_t seed,
               long long maxMoves, int drawEvery) {
  RecordingHost host(window);
  SeededRandom random(seed);
  Engine engine(host, random);
  host.data = &engine.Data();
  engine.ChooseScenario(scenario, "record");
  if (!engine.StartNewGameFromScenario()) return 0;
  while (!engine.Finished() && host.nextMovePending && engine.MoveCount() < maxMoves) {
    host.nextMovePending = false;
    engine.NextMove();
    if (engine.MoveCount() % drawEvery == 0) QCoreApplication::processEvents();
  }
  QCoreApplication::processEvents();
  return engine.MoveCount();
}

int MeasureMemory() {
  WarRecordWindow window;
  window.show();
  QCoreApplication::processEvents();
  const long before = bench::ResidentKilobytes();
  const std::size_t bytesBefore = window.Record().MemoryBytes();
  QElapsedTimer wall;
  wall.start();
  const long long moves = Play(window, LongScenario(), 1, 10000, 50);
  const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;
  window.grab();  // draw it all once more at the end
  const WarRecord& record = window.Record();
  std::printf("moves %lld, record lines %zu, turn samples %zu, %.1f s\n", moves, record.Size(),
              record.Samples().size(), seconds);
  std::printf("record: %zu bytes before, %zu bytes after (%.1f bytes a line)\n", bytesBefore,
              record.MemoryBytes(),
              static_cast<double>(record.MemoryBytes()) /
                  static_cast<double>(std::max<std::size_t>(1, record.Size())));
  std::printf("RSS: %ld kB before, %ld kB after (+%ld kB)\n", before, bench::ResidentKilobytes(),
              bench::ResidentKilobytes() - before);
  return moves >= 10000 ? 0 : 1;
}

int TakeScreenshot(const QString& output, std::uint64_t seed) {
  const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdString() + "/Scenario";
  std::string error;
  const std::optional<ScenarioRecord> scenario = ReadScenario(folder, "ユウナギの夕暮れ", &error);
  if (!scenario) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  WarRecordWindow window;
  window.resize(480, 600);
  window.show();
  QCoreApplication::processEvents();
  const long long moves = Play(window, *scenario, seed, 100000, 10);
  std::printf("seed %llu: %lld moves, %zu lines, turns %zu\n", static_cast<unsigned long long>(seed), moves,
              window.Record().Size(), window.Record().Samples().size());
  QCoreApplication::processEvents();
  if (!window.grab().save(output, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
    return 1;
  }
  std::printf("%s\n", qPrintable(output));
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const std::string mode = argc > 1 ? argv[1] : "memory";
  if (mode == "memory") return MeasureMemory();
  if (mode == "screenshot" && argc > 2) {
    return TakeScreenshot(QString::fromLocal8Bit(argv[2]), argc > 3 ? std::stoull(argv[3]) : 3);
  }
  std::fprintf(stderr, "usage: yuunagi-bench-record-memory memory | screenshot OUTPUT.png [SEED]\n");
  return 2;
}
