// The slot panel of the real window: continuing from a slot that cannot be
// read tells the player why, instead of calling the slot empty.
#include <sys/stat.h>

#include <QTest>

#include "tests/window/WindowTestSupport.h"

using namespace yuunagi::test;

class SlotPanelTest : public QObject {
  Q_OBJECT
 private slots:
  void continuingAnUnreadableSlotShowsWhy() {
    for (const bool pipe : {false, true}) {
      Window window([pipe](AppFolder& folder) {
        const std::filesystem::path slot = folder / "Save" / "Save0.sav";
        pipe ? mkfifo(slot.c_str(), 0644) : std::filesystem::create_directory(slot);
      });
      RUN(window, QString("titleMenu.continue; slots=*データなし|データなし|データなし|データなし; "
                          "saveSlots.confirm; boxes=; "
                          "message~Save0.sav; message~%1; shown=messagePanel saveSlots title; state=0")
                      .arg(pipe ? "普通のファイル" : "フォルダ"));
    }
  }
};

QTEST_MAIN(SlotPanelTest)
#include "SlotPanelTest.moc"
