// The scenario list of a new game over a folder of many scenarios, in the
// real window: from 決定 on the slot panel until every entry is listed and
// the first one is described, how long the window's event loop stood still
// at most (a 1 ms timer ticks through it all), and how long the list took.
// The scenarios are made by the bench in a temporary folder and removed after.
//
// Usage: yuunagi-bench-scenario-list [FILES] [RUNS]   (default 10000 and 5)
// Run under QT_QPA_PLATFORM=offscreen (or a virtual X display).
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/MessagePanel.h"
#include "core/StartUp.h"
#include "files/ScenarioFile.h"
#include "tests/support/EvenStart.h"

using namespace yuunagi;
namespace fs = std::filesystem;

namespace {

// An application folder: the pictures beside the bench, `count` scenarios.
bool MakeFolder(const fs::path& root, int count) {
  std::error_code ec;
  fs::create_directory_symlink(fs::path(QCoreApplication::applicationDirPath().toStdString()) / "Picture",
                               root / "Picture", ec);
  fs::create_directories(root / "Save", ec);
  fs::create_directories(root / "Scenario", ec);
  ScenarioRecord scenario = test::EvenStart();
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "シナリオ%05d.dat", i);
    scenario.Description = std::string("説明 ") + name;
    // Written plainly: the game's careful replacement would take minutes here.
    std::ofstream file(root / "Scenario" / name, std::ios::binary);
    if (!(file << EncodeScenario(scenario))) return false;
  }
  return true;
}

struct Figures {
  double longestPause = 0;  // ms between two ticks of the event loop
  double complete = 0;      // ms from 決定 until the list is whole and described
};

// One window: はじめから, then 決定, timed until the list holds `count` entries.
bool MeasureOnce(const fs::path& root, int count, Figures& figures) {
  WindowOptions options;
  options.appFolder = root;
  options.exitProcess = [](int) {};
  options.music.liveOutput = false;
  options.music.soundFont = "/nonexistent";
  const std::unique_ptr<MainForm> form = StartUp(std::move(options));
  if (!form) return false;
  form->findChild<QAbstractButton*>(QStringLiteral("titleMenu.newGame"))->click();
  const auto* list = form->findChild<QListWidget*>(QStringLiteral("scenarioList"));

  QElapsedTimer clock, sinceTick;
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    figures.longestPause = std::max(figures.longestPause, sinceTick.nsecsElapsed() / 1e6);
    sinceTick.restart();
    if (list->count() == count && !form->MessageLine().Text().isEmpty()) {
      figures.complete = clock.nsecsElapsed() / 1e6;
      QCoreApplication::exit(0);
    }
  });
  QTimer::singleShot(50, [&] {
    ticker.start(1);
    clock.start();
    sinceTick.start();
    form->findChild<QAbstractButton*>(QStringLiteral("saveSlots.confirm"))->click();
  });
  QTimer::singleShot(120000, [] { QCoreApplication::exit(1); });
  return QApplication::exec() == 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const QTemporaryDir dir;
  const fs::path root = dir.path().toStdString();
  if (!dir.isValid() || !MakeFolder(root, count)) {
    std::fprintf(stderr, "cannot make the scenario folder\n");
    return 1;
  }
  std::vector<double> pauses, completes;
  for (int run = 0; run < runs; ++run) {
    Figures figures;
    if (!MeasureOnce(root, count, figures)) {
      std::fprintf(stderr, "run %d did not finish\n", run + 1);
      return 1;
    }
    std::printf("run %d: longest pause %.1f ms, list complete after %.1f ms\n", run + 1, figures.longestPause,
                figures.complete);
    pauses.push_back(figures.longestPause);
    completes.push_back(figures.complete);
  }
  std::printf("%d scenario files, median of %d runs: longest pause %.1f ms, list complete after %.1f ms\n",
              count, runs, Median(pauses), Median(completes));
  return 0;
}
