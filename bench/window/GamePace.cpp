// The real window playing spectator games, measured:
//   cpu     the processor share while the game waits between computer moves
//           (the slowest speed, 2000 ms, over 10 seconds of play);
//   memory  the resident memory after 100 up to 10,000 computer moves of one
//           long game in one window, with no pause. (Should the game end
//           early, a new one follows in a fresh window, as when the program is
//           started again.)
// Usage: yuunagi-bench-window-pace cpu|memory
// Run under QT_QPA_PLATFORM=offscreen (or a virtual X display).
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/ResidentMemory.h"
#include "core/SpeedBar.h"
#include "core/StartUp.h"
#include "tests/support/EvenStart.h"

using namespace yuunagi;

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Six factions of equal strength: a game of several hundred moves.
ScenarioRecord BenchScenario() {
  return test::EvenStart({.soldiers = 10000, .strength = 1, .development = 1});
}

// A game that lasts well over 10,000 moves in one window: no money and no
// development, so every move is an attack with fists, and a strength far below
// zero, so the attacks feed the targets' armies until the attackers' strength
// (which grows by 1 in every other attack) climbs back above zero.
ScenarioRecord LongScenario() {
  return test::EvenStart({.money = 0, .soldiers = 10000, .strength = -1000, .development = 0});
}

// One window playing one spectator game, as after the start confirmation.
struct Game {
  std::unique_ptr<MainForm> form;
  std::shared_ptr<int> exitStatus = std::make_shared<int>(-1);
};

Game StartGame(std::uint64_t seed, int speed, const ScenarioRecord& scenario = BenchScenario()) {
  Game game;
  WindowOptions options;
  options.appFolder = QCoreApplication::applicationDirPath().toStdString();
  options.random = std::make_unique<SeededRandom>(seed);
  std::shared_ptr<int> status = game.exitStatus;
  options.exitProcess = [status](int code) { *status = code; };
  // Only the window is measured: the songs are asked for but not synthesized.
  options.music.liveOutput = false;
  options.music.soundFont = "/nonexistent";
  game.form = StartUp(std::move(options));
  if (!game.form) return game;
  game.form->SpeedPanel().SetSpeed(speed);
  game.form->Game().ChooseScenario(scenario, "bench");
  game.form->Game().StartNewGameFromScenario();
  return game;
}

// Presses OK on the message box that ends each game.
void AnswerMessageBoxes(QTimer& timer) {
  QObject::connect(&timer, &QTimer::timeout, [] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(window);
      if (box != nullptr && box->isVisible()) box->accept();
    }
  });
  timer.start(5);
}

int MeasureCpu() {
  // Nothing else runs in the process: no game ends within these seconds.
  Game game = StartGame(1, 2000);
  if (!game.form) return 1;
  double cpuAtStart = 0;
  long long movesAtStart = 0;
  QElapsedTimer wall;
  // Start counting once start-up has settled.
  QTimer::singleShot(1000, [&] {
    cpuAtStart = CpuSeconds();
    movesAtStart = game.form->Game().MoveCount();
    wall.start();
    QTimer::singleShot(10000, [&] {
      const double cpu = CpuSeconds() - cpuAtStart;
      const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;
      std::printf(
          "waiting between computer moves (GameSpeed 2000): %.3f s of CPU in %.1f s = %.2f %% of one core"
          " (%lld moves)\n",
          cpu, seconds, 100.0 * cpu / seconds, game.form->Game().MoveCount() - movesAtStart);
      QCoreApplication::exit(0);
    });
  });
  return QApplication::exec();
}

// How long the pause after a computer move really lasts, against the speed bar's 1000 ms.
int MeasurePause() {
  Game game = StartGame(3, 1000);
  if (!game.form) return 1;
  std::vector<double> pauses;
  QElapsedTimer sinceMove;
  long long moves = game.form->Game().MoveCount();
  QTimer watch;  // looks for the next move as often as the event loop allows
  QObject::connect(&watch, &QTimer::timeout, [&] {
    const long long now = game.form->Game().MoveCount();
    if (now == moves) return;
    if (sinceMove.isValid()) pauses.push_back(static_cast<double>(sinceMove.nsecsElapsed()) / 1e6);
    sinceMove.start();
    moves = now;
    if (pauses.size() == 10) {
      std::sort(pauses.begin(), pauses.end());
      std::printf(
          "pause after a computer move at 1000 ms, 10 moves: shortest %.1f ms, median %.1f ms, longest %.1f "
          "ms\n",
          pauses.front(), pauses[pauses.size() / 2], pauses.back());
      QCoreApplication::exit(0);
    }
  });
  watch.start(0);
  return QApplication::exec();
}

int MeasureMemory() {
  QTimer answer;
  AnswerMessageBoxes(answer);
  std::uint64_t seed = 1;
  Game game = StartGame(seed, 100, LongScenario());
  if (!game.form) return 1;
  game.form->Game().SetGameSpeed(0);
  long long earlierGames = 0;
  int games = 1;
  const long long marks[] = {100, 300, 600, 1000, 3000, 10000};
  constexpr int kMarks = 6;
  int nextMark = 0;
  QElapsedTimer wall;
  wall.start();
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    const long long moves = earlierGames + game.form->Game().MoveCount();
    while (nextMark < kMarks && moves >= marks[nextMark]) {
      std::printf("after %5lld computer moves (%d games): RSS %ld kB\n", moves, games,
                  bench::ResidentKilobytes());
      ++nextMark;
    }
    if (nextMark == kMarks) {
      std::printf("%.1f s for %lld moves\n", static_cast<double>(wall.elapsed()) / 1000.0, moves);
      QCoreApplication::exit(0);
      return;
    }
    if (*game.exitStatus >= 0 && game.form->OpenMessageBox() == nullptr) {
      earlierGames += game.form->Game().MoveCount();
      game = StartGame(++seed, 100);
      game.form->Game().SetGameSpeed(0);
      ++games;
    }
  });
  watch.start(0);
  return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "cpu") return MeasureCpu();
  if (mode == "pause") return MeasurePause();
  if (mode == "memory") return MeasureMemory();
  std::fprintf(stderr, "usage: yuunagi-bench-window-pace cpu|pause|memory\n");
  return 2;
}
