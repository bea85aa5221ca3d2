// How long the game takes from the start of its process to its window on the
// screen, beside a bare Qt Widgets window of the same size on the same
// machine. Each run is a fresh process: the clock starts just before it is
// launched and stops when the child paints its window for the first time.
//
// Usage: yuunagi-bench-window-startup [RUNS]   (default 9; prints medians)
// The child modes `--child game` and `--child bare` are what it launches.
#include <QApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "core/StartUp.h"

namespace {

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Prints the moment the window called `name` first paints, then ends the child.
class WatchNamedWindow : public QObject {
 public:
  explicit WatchNamedWindow(const char* name) : name_(name) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!done_ && event->type() == QEvent::Paint && watched->objectName() == QLatin1String(name_)) {
      done_ = true;
      std::printf("%lld\n", MonotonicNanoseconds());
      std::fflush(stdout);
      QMetaObject::invokeMethod(
          qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  const char* name_;
  bool done_ = false;
};

int RunGame(int argc, char* argv[]) {
  QApplication app(argc, argv);
  WatchNamedWindow watch("MainForm");
  app.installEventFilter(&watch);
  yuunagi::WindowOptions options;
  options.appFolder = QCoreApplication::applicationDirPath().toStdString();
  options.exitProcess = [](int status) { QCoreApplication::exit(status); };
  const std::unique_ptr<yuunagi::MainForm> form = yuunagi::StartUp(std::move(options));
  if (!form) return 1;
  const int status = QApplication::exec();
  form->Music().CloseMusic();
  return status;
}

int RunBare(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setFixedSize(516, 438);
  window.setObjectName(QStringLiteral("Bare"));
  WatchNamedWindow watch("Bare");
  app.installEventFilter(&watch);
  window.show();
  return QApplication::exec();
}

double MedianMilliseconds(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::vector<double> Measure(const QString& self, const QString& mode, int runs) {
  const QTemporaryDir settings;
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The designed window, whatever zoom the player here chose last.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
    child.setProcessEnvironment(environment);
    const long long start = MonotonicNanoseconds();
    child.start(self, {QStringLiteral("--child"), mode});
    if (!child.waitForFinished(60000) || child.exitCode() != 0) {
      std::fprintf(stderr, "the %s child failed\n", qPrintable(mode));
      continue;
    }
    const long long shown = child.readAllStandardOutput().trimmed().toLongLong();
    times.push_back(static_cast<double>(shown - start) / 1e6);
  }
  return times;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 3 && std::string(argv[1]) == "--child") {
    return std::string(argv[2]) == "game" ? RunGame(argc, argv) : RunBare(argc, argv);
  }
  QCoreApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const QString self = QCoreApplication::applicationFilePath();
  // Warm the file cache once for each, so every measured run starts alike.
  Measure(self, QStringLiteral("bare"), 1);
  Measure(self, QStringLiteral("game"), 1);
  const std::vector<double> bare = Measure(self, QStringLiteral("bare"), runs);
  const std::vector<double> game = Measure(self, QStringLiteral("game"), runs);
  if (bare.empty() || game.empty()) return 1;
  std::printf("process start to window shown, median of %d runs:\n", runs);
  std::printf("  bare Qt Widgets window: %.1f ms\n", MedianMilliseconds(bare));
  std::printf("  ユウナギ町争奪戦:        %.1f ms\n", MedianMilliseconds(game));
  return 0;
}
