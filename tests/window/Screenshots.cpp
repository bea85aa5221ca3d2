// Takes the README's pictures of the real window: the title, the save
// slots, the scenario list, faction selection and a game under way. It
// plays in the folder it lives in (build/bin, beside the game's pictures and
// scenarios) and only reads there. Usage: yuunagi-screenshots OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTest>

#include <cstdio>

#include "core/StartUp.h"
#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;

namespace {

bool Save(MainForm& form, const QDir& out, const char* name) {
  QCoreApplication::sendPostedEvents();
  const QString path = out.filePath(QString::fromLatin1(name));
  if (!form.grab().save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: yuunagi-screenshots OUTPUT_FOLDER\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.exists() && !QDir().mkpath(out.path())) {
    std::fprintf(stderr, "cannot make the folder %s\n", argv[1]);
    return 1;
  }

  WindowOptions options;
  options.appFolder = QCoreApplication::applicationDirPath().toStdString();
  options.random = std::make_unique<SeededRandom>(2026);
  options.exitProcess = [](int) {};
  options.music.liveOutput = false;
  options.music.soundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  std::unique_ptr<MainForm> started = StartUp(std::move(options));
  if (!started) return 1;
  MainForm& form = *started;
  if (!QTest::qWaitForWindowExposed(&form)) return 1;
  bool ok = Save(form, out, "title.png");

  test::Click(form.Command1[0]);
  ok = Save(form, out, "slots.png") && ok;
  test::Click(form.Command8);
  if (form.List1->count() == 0) {
    std::fprintf(stderr, "no scenario beside %s\n", qPrintable(QCoreApplication::applicationDirPath()));
    return 1;
  }
  ok = Save(form, out, "scenario.png") && ok;

  test::Click(form.Command7);
  // Player 1 takes the faction of the last district, so the computer plays
  // the first moves; the pointer rests on another faction to show its hint.
  const int human = form.Data().Scenario.StartOwner[kDistrictCount - 1];
  test::Click(form.Command2[human]);
  for (int k = 0; k < kFactionCount; ++k) {
    if (!form.Command2[k]->isHidden()) {
      QTest::mouseMove(form.Command2[k]);
      break;
    }
  }
  ok = Save(form, out, "factions.png") && ok;

  test::MessageBoxAnswerer answerer({"Yes"});
  test::Click(form.Command2[kFactionCount]);
  form.Data().GameSpeed = 0;
  if (!QTest::qWaitFor([&] { return form.Picture4->isVisible(); }, 20000)) {
    std::fprintf(stderr, "player 1's move never came\n");
    return 1;
  }
  ok = Save(form, out, "game.png") && ok;
  return ok ? 0 : 1;
}
