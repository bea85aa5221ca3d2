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
    for (const bool pipe : {false, true}) {
      AppFolder folder;
      const std::filesystem::path slot = folder.Saves() / "Save0.sav";
      pipe ? mkfifo(slot.c_str(), 0644) : std::filesystem::create_directory(slot);
      StartedWindow w = StartWindow(folder);
      MainForm& form = *w.form;
      Click(form.Command1[1]);  // つづきから
      QCOMPARE(form.Option1[0]->text(), QString("データなし"));
      MessageBoxAnswerer answerer;
      Click(form.Command8);
      QCOMPARE(answerer.texts, QStringList());
      const QString message = form.Message->text();
      QVERIFY2(message.contains(pipe ? "普通のファイル" : "フォルダ") && message.contains("Save0.sav"),
               qPrintable(message));
      QVERIFY(form.Picture11->isVisible() && form.Picture8->isVisible());
      QCOMPARE(form.Data().GameState, State::NotStarted);
    }
  }
};

QTEST_MAIN(SlotPanelTest)
#include "SlotPanelTest.moc"
