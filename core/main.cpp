// ユウナギ町争奪戦: the game's entry. Reads the command line, finds the
// game's folders and starts the window.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include "core/StartUp.h"
#include "files/DataFolders.h"

namespace {

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// A window needs a display: an X or Wayland one, or a Qt platform named on
// purpose (QT_QPA_PLATFORM or -platform, such as offscreen).
bool HasDisplay(int argc, char* argv[]) {
  if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM")) return true;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return true;
  return false;
}

std::filesystem::path LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QIcon GameIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/yuunagi.png").arg(size), QSize(size, size));
  return icon;
}

// The command line of the game: --help, --version, --data-dir, --soundfont.
struct CommandLine {
  QCommandLineParser parser;
  QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                          QStringLiteral("Show this help and exit.")};
  QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                             QStringLiteral("Show the version and exit.")};
  QCommandLineOption dataDir{
      QStringLiteral("data-dir"),
      QStringLiteral("Read the pictures, scenarios and music from DIR (its Picture, Scenario and Music "
                     "folders); saves go to DIR/Save when it exists and can be written."),
      QStringLiteral("DIR")};
  QCommandLineOption soundFont{QStringLiteral("soundfont"),
                               QStringLiteral("Play the music with the SoundFont FILE (.sf2 or .sf3)."),
                               QStringLiteral("FILE")};

  CommandLine() {
    parser.setApplicationDescription(
        QStringLiteral("ユウナギ町争奪戦 (Yuunagi Town Showdown): a turn-based strategy game for up to six "
                       "players at one screen.\n"
                       "Exit status: 0 when the game ends, 1 when it cannot start, 2 on a usage error."));
    parser.addOptions({help, version, dataDir, soundFont});
  }

  // Reads the arguments; an exit status when the program ends here
  // (a usage error, --help, --version), nothing when the game goes on.
  std::optional<int> Read() {
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (!parsed || !parser.positionalArguments().isEmpty()) {
      const QString error =
          parsed ? QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments()[0])
                 : parser.errorText();
      std::fprintf(stderr, "yuunagi: %s\n\n%s", qPrintable(error), qPrintable(parser.helpText()));
      return 2;
    }
    if (parser.isSet(help)) {
      std::fputs(qPrintable(parser.helpText()), stdout);
      return 0;
    }
    if (parser.isSet(version)) {
      std::printf("yuunagi %s\n", YUUNAGI_VERSION);
      return 0;
    }
    return std::nullopt;
  }
};

// The folders and the SoundFont the command line names; nothing when
// --data-dir names no folder.
std::optional<yuunagi::WindowOptions> WindowOptionsOf(const CommandLine& line) {
  yuunagi::WindowOptions options;
  options.appFolder = LocalPath(QCoreApplication::applicationDirPath());
  const std::filesystem::path data = LocalPath(line.parser.value(line.dataDir));
  std::error_code ec;
  if (line.parser.isSet(line.dataDir) && !std::filesystem::is_directory(data, ec)) {
    std::fprintf(stderr, "yuunagi: --data-dir: there is no folder %s\n", data.c_str());
    return std::nullopt;
  }
  options.folders = yuunagi::FindGameFolders(options.appFolder, data);
  options.music.soundFont = LocalPath(line.parser.value(line.soundFont)).string();
  return options;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication::setApplicationName(QStringLiteral("yuunagi"));
  QCoreApplication::setApplicationVersion(QStringLiteral(YUUNAGI_VERSION));
  // Without a display Qt would abort in QApplication; the command line is
  // still read, so --help and --version work anywhere.
  const bool display = HasDisplay(argc, argv);
  const std::unique_ptr<QCoreApplication> app =
      display ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);

  CommandLine line;
  if (const std::optional<int> status = line.Read()) return *status;
  if (!display) {
    std::fputs("yuunagi: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n",
               stderr);
    return 1;
  }
  std::optional<yuunagi::WindowOptions> options = WindowOptionsOf(line);
  if (!options) return 1;

  QApplication::setWindowIcon(GameIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral(YUUNAGI_APP_ID));
  // Leaves every event loop, the title's as well as a message box's, so the
  // program ends wherever the game is.
  options->exitProcess = [](int status) { QCoreApplication::exit(status); };
  const std::unique_ptr<yuunagi::MainForm> form = yuunagi::StartUp(std::move(*options));
  if (!form) return 1;
  return QApplication::exec();
}
