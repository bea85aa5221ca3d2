// The slot panel of the real window: continuing from a slot that cannot be
// read tells the player why, instead of calling the slot empty.
#include <sys/stat.h>

#include <QTest>

#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;
using namespace yuunagi::test;

class SlotPanelTest : public QObject {
  Q_OBJECT
 private slots:
  void continuingAnUnreadableSlotShowsWhy() {
    namespace fs = std::filesystem;
    const std::vector<std::pair<std::function<void(const fs::path&)>, QString>> cases = {
        {[](const fs::path& slot) { fs::create_directory(slot); }, "フォルダ"},
        {[](const fs::path& slot) { mkfifo(slot.c_str(), 0644); }, "普通のファイル"},
    };
    for (const auto& [spoil, reason] : cases) {
      AppFolder folder;
      spoil(folder.Saves() / "Save0.sav");
      StartedWindow w = StartWindow(folder);
      MainForm& form = *w.form;
      Click(form.Command1[1]);  // つづきから
      QCOMPARE(form.Option1[0]->text(), QString("データなし"));
      MessageBoxAnswerer answerer;
      Click(form.Command8);
      QCOMPARE(answerer.texts, QStringList());
      QVERIFY2(form.Message->text().contains(reason), qPrintable(form.Message->text()));
      QVERIFY(form.Message->text().contains("Save0.sav"));
      QVERIFY(form.Picture11->isVisible() && form.Picture8->isVisible());
      QCOMPARE(form.Data().GameState, State::NotStarted);
    }
  }
};

QTEST_MAIN(SlotPanelTest)
#include "SlotPanelTest.moc"
