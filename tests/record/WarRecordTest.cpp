// The war record and its window, fed a short scripted game the way the
// game's host feeds them.
#include <QAbstractItemModel>
#include <QDir>
#include <QListView>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include "core/WarRecordFile.h"
#include "core/WarRecordWindow.h"

using namespace yuunagi;

namespace {

// An action of `faction`'s, as the engine reports it.
ActionReport Did(int faction, Action action, i16 amount = 0) {
  return {.amount = amount, .action = action, .moverFaction = std::int8_t(faction)};
}

// Six districts, one per faction, with 10..60 soldiers; ソラノ is player 1
// and トコナ player 2. In turn 2 トコナ takes ミオツ's only district.
template <typename Sink>
GameData PlayScript(Sink& sink) {
  GameData d;
  for (int i = 0; i < kDistrictCount; ++i)
    d.Districts[i] = DistrictRecord{i16(i), 0, i16(10 * (i + 1)), 1, 1, 1};
  d.PlayerOfFaction[1] = 1;
  d.PlayerOfFaction[3] = 2;
  d.TurnNumber = 1;
  sink.RecordTurn(d);
  sink.RecordGameLine(d, GameLine::BattleBegins);
  sink.RecordAction(d, Did(0, Action::Collect, 10));
  d.Districts[1].Soldiers = 15;
  sink.RecordAction(d, Did(1, Action::Hire, -5));
  d.TurnNumber = 2;
  sink.RecordTurn(d);
  d.Districts[5] = DistrictRecord{3, 0, 7, 1, 1, 1};
  sink.RecordAction(
      d,
      {.damage = 60, .moverFaction = 3, .weaponLevel = 1, .target = 5, .targetFaction = 5, .captured = true});
  sink.RecordNotice(d, Notice{NoticeKind::FactionDestroyed, 5});  // said already: not twice
  d.TurnNumber = 3;
  sink.RecordTurn(d);
  sink.RecordNotice(d, Notice{NoticeKind::TownTaken, 3});
  return d;
}

struct Expected {
  int turn, faction, player;
  std::string_view text;
};
constexpr Expected kEntries[] = {
    {1, kGameLine, 0, "戦闘開始!!"},         {1, 0, 0, "民から10の金を集金した。"},
    {1, 1, 1, "兵士を-5雇った。"},           {2, 3, 2, "ミオツを殴った。60のダメージ!!ミオツを占領した!!"},
    {2, kGameLine, 0, "ミオツは滅亡した。"}, {3, kGameLine, 0, "トコナはユウナギ町を制圧した。"},
};

// The game the record files below go with: turn 3, as the script ends.
SaveRecord SavedAtTurn3() {
  SaveRecord save;
  save.TurnNumber = 3;
  save.ScenarioName = "港町";
  return save;
}

// Byte offsets in a record file of the script: its head, its first action
// line (the second line) and its first turn sample.
constexpr std::size_t kAction = 30 + 20, kSample = 30 + 20 * std::size(kEntries);

struct Damage {
  const char* what;
  std::function<void(std::string&)> change;
};
const Damage kDamages[] = {
    {"bad magic", [](std::string& b) { b[0] = 'X'; }},
    {"other version", [](std::string& b) { b[4] = 2; }},
    {"truncated in the head", [](std::string& b) { b.resize(17); }},
    {"truncated after the head", [](std::string& b) { b.resize(30); }},
    {"truncated in a line", [](std::string& b) { b.resize(kAction + 7); }},
    {"truncated in a sample", [](std::string& b) { b.resize(b.size() - 1); }},
    {"a byte too many", [](std::string& b) { b += 'x'; }},
    {"lines past the size", [](std::string& b) { b[16] = 7; }},
    {"samples past the size", [](std::string& b) { b.replace(20, 4, "\xff\xff\xff\x7f"); }},
    {"a player out of range", [](std::string& b) { b[24] = 7; }},
    {"an unknown action", [](std::string& b) { b[kAction + 6] = 6; }},
    {"a faction out of range", [](std::string& b) { b[kAction + 9] = 6; }},
    {"a target out of range", [](std::string& b) { b[kAction + 11] = -2; }},
    {"an unknown kind of line", [](std::string& b) { b[kAction + 17] = 3; }},
    {"a line after the save's turn", [](std::string& b) { b[30 + 20 * 5] = 4; }},
    {"lines out of order", [](std::string& b) { b[30] = 2; }},
    {"seven districts held", [](std::string& b) { b[kSample + 2] = 2; }},
    {"samples out of order", [](std::string& b) { b[kSample] = 2; }},
    {"the record of another save", [](std::string& b) { b[8] ^= 1; }},
};

}  // namespace

class WarRecordTest : public QObject {
  Q_OBJECT
 private slots:
  void KeepsEveryLineInOrder() {
    WarRecord record;
    PlayScript(record);
    QCOMPARE(record.Size(), std::size(kEntries));
    for (std::size_t i = 0; i < record.Size(); ++i) {
      const RecordEntry e = record.Entry(i);
      QCOMPARE(e.turn, kEntries[i].turn);
      QCOMPARE(e.faction, kEntries[i].faction);
      QCOMPARE(e.player, kEntries[i].player);
      QCOMPARE(e.text, kEntries[i].text);
    }
  }

  // One sample per turn, the latest of the turn winning.
  void SamplesEachTurn() {
    WarRecord record;
    PlayScript(record);
    using Held = std::array<std::int8_t, kFactionCount>;
    using Soldiers = std::array<std::int32_t, kFactionCount>;
    const std::vector<TurnSample>& s = record.Samples();
    QCOMPARE(s.size(), std::size_t{3});
    QCOMPARE(s[0].turn, 1);
    QCOMPARE(s[0].districts, (Held{1, 1, 1, 1, 1, 1}));
    QCOMPARE(s[0].soldiers, (Soldiers{10, 15, 30, 40, 50, 60}));
    for (int i : {1, 2}) {
      QCOMPARE(s[i].turn, i + 1);
      QCOMPARE(s[i].districts, (Held{1, 1, 1, 2, 1, 0}));
      QCOMPARE(s[i].soldiers, (Soldiers{10, 15, 30, 47, 50, 0}));
    }
  }

  void ShowsTheLinesAndTheChart() {
    QWidget game;
    game.show();
    WarRecordWindow window;
    const GameData end = PlayScript(window);
    window.ShowBeside(&game);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QAbstractItemModel* rows = window.List()->model();
    QCOMPARE(rows->rowCount(), int{std::size(kEntries)});
    QCOMPARE(rows->index(2, 0).data().toString(), QStringLiteral("Turn 1  ソラノ<1P>: 兵士を-5雇った。"));
    QCOMPARE(rows->index(5, 0).data().toString(), QStringLiteral("Turn 3  トコナはユウナギ町を制圧した。"));
    for (int tab : {0, 1}) {
      window.ChartTabs()->setCurrentIndex(tab);
      const QImage chart = window.Chart()->grab().toImage().copy(window.Chart()->PlotRect());
      for (int f = 0; f < kFactionCount; ++f) {
        bool drawn = false;
        for (int y = 0; y < chart.height() && !drawn; ++y) {
          for (int x = 0; x < chart.width() && !drawn; ++x)
            drawn = chart.pixelColor(x, y) == kFactionColors[f];
        }
        QVERIFY2(drawn, qPrintable(QStringLiteral("tab %1, faction %2").arg(tab).arg(f)));
      }
    }
    // The list keeps the newest line in view, unless the player scrolled up.
    QScrollBar* bar = window.List()->verticalScrollBar();
    const auto add = [&](int lines) {
      for (int i = 0; i < lines; ++i) window.RecordAction(end, Did(3, Action::Collect, 1));
      QCoreApplication::processEvents();
    };
    for (const int scrolledTo : {-1, 10}) {
      if (scrolledTo >= 0) bar->setValue(scrolledTo);
      add(100);
      QCOMPARE(bar->value(), scrolledTo >= 0 ? scrolledTo : bar->maximum());
    }
    QVERIFY(bar->maximum() > 100);
    QTest::keyClick(&window, Qt::Key_L);
    QVERIFY(!window.isVisible());
  }

  // Written beside the save and read back: every line and sample, the same.
  void RecordFileRoundTrip() {
    QTemporaryDir dir;
    const std::filesystem::path save = dir.filePath("Save2.sav").toStdString();
    WarRecord record, read;
    PlayScript(record);
    QCOMPARE(ReadWarRecordFile(save, SavedAtTurn3(), read), RecordFileState::Missing);
    QVERIFY(WriteWarRecordFile(save, record, SavedAtTurn3()));
    QVERIFY(std::filesystem::is_regular_file(dir.filePath("Save2.rec").toStdString()));
    QCOMPARE(ReadWarRecordFile(save, SavedAtTurn3(), read), RecordFileState::Restored);
    QCOMPARE(EncodeWarRecord(read, SavedAtTurn3()), EncodeWarRecord(record, SavedAtTurn3()));
    for (std::size_t i = 0; i < record.Size(); ++i)
      QCOMPARE(RecordLine(read.Entry(i)), RecordLine(record.Entry(i)));
    QCOMPARE(read.Players(), record.Players());
    QVERIFY(read.Seen(5));
    // A later save of the same slot without its record: the old one is not its game.
    SaveRecord later = SavedAtTurn3();
    later.TurnNumber = 4;
    QCOMPARE(ReadWarRecordFile(save, later, read), RecordFileState::Damaged);
  }

  void DamagedRecordFilesAreRefused() {
    WarRecord record;
    PlayScript(record);
    const std::string sound = EncodeWarRecord(record, SavedAtTurn3());
    for (const Damage& damage : kDamages) {
      std::string bytes = sound;
      damage.change(bytes);
      WarRecord read;
      QVERIFY2(DecodeWarRecord(bytes, SavedAtTurn3(), read) == RecordFileState::Damaged, damage.what);
      QCOMPARE(read.Size(), std::size_t{0});
    }
    // A folder of the record's name is no record either.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("Save0.rec"));
    QCOMPARE(ReadWarRecordFile(dir.filePath("Save0.sav").toStdString(), SavedAtTurn3(), record),
             RecordFileState::Damaged);
  }

  // Past the bound a record is neither written nor read.
  void RecordFilesAreBounded() {
    QTemporaryDir dir;
    WarRecord record;
    const GameData board = PlayScript(record);
    while (record.Size() <= kMostRecordLines) record.RecordAction(board, Did(3, Action::Collect, 1));
    std::string error;
    QVERIFY(!WriteWarRecordFile(dir.filePath("Save1.sav").toStdString(), record, SavedAtTurn3(), &error));
    QVERIFY(!error.empty());
    WarRecord read;
    QCOMPARE(DecodeWarRecord(EncodeWarRecord(record, SavedAtTurn3()), SavedAtTurn3(), read),
             RecordFileState::Damaged);
  }
};

QTEST_MAIN(WarRecordTest)
#include "WarRecordTest.moc"
