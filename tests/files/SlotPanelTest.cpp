// The slot panel of the real window: what each kind of slot file is
// captioned, and what つづきから on it says or does.
#include <sys/stat.h>

#include <QTest>

#include <fstream>

#include "files/SaveFile.h"
#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;
using namespace yuunagi::test;
namespace fs = std::filesystem;

namespace {

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

SaveRecord Unplayable() {
  SaveRecord save = HotSeatSave();
  save.PlayerCount = 3;
  return save;
}

struct SlotCase {
  const char* name;
  std::function<void(const fs::path&)> put;  // makes slot 0
  const char* caption;
  const char* box;  // found in the box of つづきから; "" for none
  const char* state;
};

const SlotCase kSlots[] = {
    {"no file", [](const fs::path&) {}, "データなし", "セーブデータがありません。", "0"},
    {"an empty file", [](const fs::path& f) { WriteBytes(f, ""); }, "データなし",
     "セーブデータがありません。", "0"},
    {"a game", [](const fs::path& f) { WriteBytes(f, EncodeSave(HotSeatSave())); }, "港町 Turn 3", "", "1"},
    {"a game in a longer file", [](const fs::path& f) { WriteBytes(f, EncodeSave(HotSeatSave()) + "x"); },
     "港町 Turn 3", "は 131 バイトあり、セーブファイルの 130 バイトより長いので", "1"},
    {"129 bytes of garbage", [](const fs::path& f) { WriteBytes(f, std::string(129, '\x93')); },
     "読めないデータ", "続けられません。\n「", "0"},
    {"a short game", [](const fs::path& f) { WriteBytes(f, EncodeSave(HotSeatSave()).substr(1)); },
     "読めないデータ", "は 129 バイトしかなく、セーブファイルに必要な 130 バイトに足りません。", "0"},
    {"an unplayable game", [](const fs::path& f) { WriteBytes(f, EncodeSave(Unplayable())); },
     "読めないデータ", "このセーブデータは続けられません。\nPlayerCount が 3", "0"},
    {"a folder", [](const fs::path& f) { fs::create_directory(f); }, "読めないデータ", "フォルダです。", "0"},
    {"a named pipe", [](const fs::path& f) { mkfifo(f.c_str(), 0644); }, "読めないデータ",
     "普通のファイルではありません", "0"},
};

}  // namespace

class SlotPanelTest : public QObject {
  Q_OBJECT
 private slots:
  void slotsSayWhatTheyHold_data() {
    QTest::addColumn<int>("row");
    for (int row = 0; row < static_cast<int>(std::size(kSlots)); ++row)
      QTest::newRow(kSlots[row].name) << row;
  }

  void slotsSayWhatTheyHold() {
    QFETCH(int, row);
    const SlotCase& c = kSlots[row];
    Window window([&c](AppFolder& folder) { c.put(folder / "Save" / "Save0.sav"); });
    const QString box = *c.box ? QString("boxes~") + c.box : QString("boxes=");
    RUN(window,
        QString("titleMenu.continue; slots=*%1|データなし|データなし|データなし; saveSlots.confirm; %2; "
                "oddboxes=0; state=%3")
            .arg(c.caption, box, c.state));
  }
};

QTEST_MAIN(SlotPanelTest)
#include "SlotPanelTest.moc"
