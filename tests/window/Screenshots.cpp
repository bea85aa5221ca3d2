// Takes the README's pictures of the real window: the title, the save
// slots, the scenario list, faction selection, a game under way, the mark
// that waits for the click after an action and the window at 200 %, with the
// game's pictures and the scenarios built beside this program (build/bin),
// which it only reads. Usage: yuunagi-screenshots OUTPUT_FOLDER
#include <QApplication>
#include <QDir>

#include <cstdio>

#include "commands/FactionPicker.h"
#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QDir out(argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString());
  if (argc != 2 || !QDir().mkpath(out.path())) {
    std::fprintf(stderr, "usage: yuunagi-screenshots OUTPUT_FOLDER (a folder it can make)\n");
    return 2;
  }
  const std::filesystem::path bin = QCoreApplication::applicationDirPath().toStdString();
  test::Window window([&](test::AppFolder& f) {
    std::filesystem::copy(bin / "Scenario", f / "Scenario");
    std::filesystem::copy(bin / "Picture", f / "Picture", std::filesystem::copy_options::overwrite_existing);
  });
  if (!window.form) return 1;
  MainForm& form = *window.form;
  // Runs `script`, then saves the window as `name`.
  const auto shot = [&](const char* name, const QString& script) {
    const QString failure = window.Run(script);
    const QString path = out.filePath(QString::fromLatin1(name));
    QCoreApplication::sendPostedEvents();
    if (!failure.isEmpty() || !form.grab().save(path, "PNG")) {
      std::fprintf(stderr, "cannot take %s: %s\n", qPrintable(path), qPrintable(failure));
      return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
  };
  if (!shot("title.png", "seed 2026") || !shot("slots.png", "titleMenu.newGame") ||
      !shot("scenario.png", "saveSlots.confirm; list~*")) {
    return 1;
  }
  // Player 1 takes the faction of the last district, so the computer plays
  // the first moves; the pointer rests on another faction to show its hint.
  const int human = form.Data().Scenario.StartOwner[kDistrictCount - 1];
  if (!window.Run(QString("scenarioList.confirm; factionPicker.faction%1").arg(human)).isEmpty()) return 1;
  int other = 0;
  while (other < kFactionCount - 1 && !form.Picker().Offers(other)) ++other;
  const bool ok = shot("factions.png", QString("hover factionPicker.faction%1").arg(other)) &&
                  shot("game.png", "speed 0; factionPicker.confirm; wait shown=game actionMenu") &&
                  shot("waiting.png", "actionMenu.collect; cue=1");
  // The whole window at 200 % (Ctrl++ twice), taken at the screen's own scale only.
  if (!ok || form.devicePixelRatioF() != 1.0) return ok ? 0 : 1;
  return shot("zoom200.png", "press Return; wait shown=game actionMenu; press Ctrl+=; press Ctrl+=") ? 0 : 1;
}
