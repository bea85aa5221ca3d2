// The title, slot and scenario screens of the real window, driven by clicks:
// slot captions read from real save files, the scenario list and its
// descriptions, and every way these screens refuse or end.
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTest>

#include "files/Cp932.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"
#include "files/TitleScreen.h"
#include "media/MusicPlayer.h"
#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;
using namespace yuunagi::test;

namespace {

SaveRecord SavedGame(const std::string& scenarioName, std::int16_t turn) {
  SaveRecord s;
  s.TurnNumber = turn;
  s.ScenarioName = scenarioName;
  s.MusicName = "港町の攻防";
  s.Owner = {0, 1, 2, 3, 4, 5};
  s.Money = {10, 20, 30, 40, 50, 60};
  s.Soldiers = {100, 100, 100, 100, 100, 100};
  s.Strength = {5, 5, 5, 5, 5, 5};
  s.Weapon = {1, 1, 1, 1, 1, 1};
  s.Development = {3, 3, 3, 3, 3, 3};
  s.PlayerCount = kSpectatorPlayerCount;
  return s;
}

QStringList SlotCaptions(MainForm& form) {
  QStringList captions;
  for (GraphicOption* option : form.Option1) captions << option->text();
  return captions;
}

QStringList FilesIn(const std::filesystem::path& folder) {
  return QDir(QString::fromStdString(folder.string())).entryList(QDir::Files, QDir::Name);
}

QByteArray Bytes(const std::filesystem::path& file) {
  QFile f(QString::fromStdString(file.string()));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Clicks the list entry in `row` as the player does.
void ClickListRow(QListWidget* list, int row) {
  const QRect place = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
}

}  // namespace

class TitleScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void slotCaptionsComeFromTheSaveFiles() {
    AppFolder folder;
    folder.WriteSave(1, SavedGame("初級", 12));
    folder.WriteSave(2, SavedGame("初級", 0));
    folder.WriteSave(3, SavedGame("ABCDEFGHIJKLMNOP", 3));
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    QCOMPARE(form.Music().CurrentSong(), std::string("オープニング"));

    Click(form.Command1[0]);
    QCOMPARE(VisibleControls(form), QStringList({"Picture8", "TitleLabel"}));
    QCOMPARE(SlotCaptions(form),
             QStringList({"データなし", "初級 Turn 12", "データなし", "ABCDEFGHIJKLMN Turn 3"}));
    QVERIFY(form.Option1[0]->isChecked());
    QCOMPARE(form.Data().StartMode, 0);
    QCOMPARE(form.Music().CurrentSong(), std::string("設定"));
    // Looking at the slots creates no file.
    QCOMPARE(FilesIn(folder.Saves()), QStringList({"Save1.sav", "Save2.sav", "Save3.sav"}));
  }

  void cancelKeepsTheChosenSlotAndRereadsTheCaptions() {
    AppFolder folder;
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    Click(form.Command1[0]);
    Click(form.Option1[2]);
    QCOMPARE(form.Data().SaveSlot, 2);
    Click(form.Command9);
    QCOMPARE(VisibleControls(form), QStringList({"Picture1", "Picture7", "TitleLabel"}));
    QCOMPARE(form.Music().CurrentSong(), std::string("オープニング"));

    folder.WriteSave(2, SavedGame("港町", 5));
    Click(form.Command1[1]);
    QCOMPARE(form.Data().StartMode, 1);
    QVERIFY(form.Option1[2]->isChecked());
    QCOMPARE(form.Option1[2]->text(), QString("港町 Turn 5"));
    QCOMPARE(form.Data().SaveSlot, 2);
  }

  void scenarioListDescribesTheSelectedScenario() {
    AppFolder folder;
    ScenarioRecord first = SixFactionScenario();
    first.Description = "最初のシナリオ。";
    ScenarioRecord second = QuickScenario();
    second.Description = std::string(200, 'x');
    folder.WriteScenario("A初級", first);
    folder.WriteScenario("B上級", second);
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;

    Click(form.Command1[0]);
    Click(form.Command8);
    QCOMPARE(VisibleControls(form), QStringList({"Command7", "List1", "Picture11", "TitleLabel"}));
    QCOMPARE(form.List1->count(), 2);
    QCOMPARE(form.List1->item(0)->text(), QString("A初級"));
    QCOMPARE(form.List1->item(1)->text(), QString("B上級"));
    QCOMPARE(form.List1->currentRow(), 0);
    QCOMPARE(form.Message->text(), QString("最初のシナリオ。"));
    QCOMPARE(form.Data().ScenarioName, std::string("A初級"));
    QCOMPARE(form.Data().Scenario, first);
    QCOMPARE(form.Music().CurrentSong(), std::string("設定"));

    // Pointing at the other entry reads it whole; its long description is cut.
    ClickListRow(form.List1, 1);
    QCOMPARE(form.Data().ScenarioName, std::string("B上級"));
    QCOMPARE(form.Data().Scenario.StartOwner, second.StartOwner);
    QCOMPARE(form.Message->text(), QString(180, 'x'));
  }

  void scenarioNamedInCodePage932IsListedAndPlayable() {
    // A file copied from Windows keeps its name in code page 932 bytes.
    AppFolder folder;
    ScenarioRecord old = SixFactionScenario();
    old.Description = "古い名前のシナリオ。";
    const std::string cp932Name = Utf8ToCp932("初級");
    std::string error;
    QVERIFY2(WriteScenarioFile(folder.Scenarios() / (cp932Name + ".dat"), old, &error), error.c_str());
    folder.WriteScenario("上級", SixFactionScenario());
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Click(form.Command1[0]);
    Click(form.Command8);
    QCOMPARE(form.List1->count(), 2);
    QCOMPARE(form.List1->item(0)->text(), QString("初級"));
    QCOMPARE(form.List1->item(1)->text(), QString("上級"));
    QCOMPARE(form.Message->text(), QString("古い名前のシナリオ。"));
    QCOMPARE(form.Data().ScenarioName, std::string("初級"));
    QCOMPARE(form.Data().Scenario, old);

    ClickListRow(form.List1, 1);
    QCOMPARE(form.Data().ScenarioName, std::string("上級"));
    ClickListRow(form.List1, 0);
    QCOMPARE(form.Data().Scenario, old);
    QVERIFY(!form.Title().ScenarioProblem());

    // Played under its readable name.
    form.HScroll1->setValue(2000);
    Click(form.Command7);
    MessageBoxAnswerer answerer({"Yes"});
    Click(form.Command2[kFactionCount]);
    QCOMPARE(answerer.texts.size(), 1);
    QCOMPARE(form.Data().GameState, State::Moving);
    QCOMPARE(form.windowTitle(), QString("ユウナギ町争奪戦～初級～"));
  }

  void unplayableScenarioIsExplainedAndNotStarted() {
    AppFolder folder;
    ScenarioRecord broken = SixFactionScenario();
    broken.StartOwner[3] = 9;
    folder.WriteScenario("壊れた", broken);
    folder.WriteScenario("正しい", SixFactionScenario());
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    Click(form.Command1[0]);
    Click(form.Command8);
    QCOMPARE(form.List1->item(0)->text(), QString("壊れた"));
    QVERIFY2(form.Message->text().contains("StartOwner(3)"), qPrintable(form.Message->text()));

    Click(form.Command7);
    QVERIFY(form.Picture2->isHidden());
    QVERIFY(form.List1->isVisible());
    QVERIFY(form.Message->text().contains("StartOwner(3)"));

    // A scenario that vanished after the listing is reported as missing.
    QVERIFY(QFile::remove(QString::fromStdString((folder.Scenarios() / "正しい.dat").string())));
    ClickListRow(form.List1, 1);
    QVERIFY2(form.Message->text().contains("正しい.dat") && form.Message->text().contains("ありません"),
             qPrintable(form.Message->text()));
    Click(form.Command7);
    QVERIFY(form.Picture2->isHidden());
  }

  void noScenarioFileEndsTheProgram_data() {
    QTest::addColumn<bool>("withFolder");
    QTest::newRow("empty Scenario folder") << true;
    QTest::newRow("no Scenario folder") << false;
  }

  void noScenarioFileEndsTheProgram() {
    QFETCH(bool, withFolder);
    AppFolder folder;
    if (!withFolder) QVERIFY(QDir(QString::fromStdString(folder.Scenarios().string())).removeRecursively());
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    Click(form.Command1[0]);
    std::string songWhenAsked = "?";
    MessageBoxAnswerer answerer;
    answerer.onBox = [&] { songWhenAsked = form.Music().CurrentSong(); };
    Click(form.Command8);
    QCOMPARE(answerer.texts, QStringList({"シナリオファイルがありません。"}));
    QCOMPARE(answerer.captions, QStringList({"ユウナギ町争奪戦"}));
    QCOMPARE(songWhenAsked, std::string());  // the music stopped before the message
    QCOMPARE(*w.exitStatus, 0);
    QVERIFY(form.Ended());
  }

  void longScenarioNameIsCutToFourteenCharacters() {
    // Nineteen half-width characters fit the save's 20 bytes; 14 are shown.
    AppFolder folder;
    folder.WriteSave(1, SavedGame("ﾐﾅﾄﾏﾁﾉｺｳﾎﾞｳｾﾝﾀﾞｲﾆﾌﾞ", 9));
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    form.HScroll1->setValue(2000);
    Click(form.Command1[1]);
    QCOMPARE(form.Option1[1]->text(), QString("ﾐﾅﾄﾏﾁﾉｺｳﾎﾞｳｾﾝﾀ Turn 9"));
    Click(form.Option1[1]);
    Click(form.Command8);
    QCOMPARE(form.Data().GameState, State::Moving);
    QCOMPARE(form.Data().ScenarioName, std::string("ﾐﾅﾄﾏﾁﾉｺｳﾎﾞｳｾﾝﾀ"));
    QCOMPARE(form.windowTitle(), QString("ユウナギ町争奪戦～ﾐﾅﾄﾏﾁﾉｺｳﾎﾞｳｾﾝﾀ～"));
    QCOMPARE(form.Label8->text(), QString("Turn 9"));
  }

  void continuingAnEmptySlotIsRefused() {
    AppFolder folder;
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    Click(form.Command1[1]);
    MessageBoxAnswerer answerer;
    Click(form.Command8);
    QCOMPARE(answerer.texts, QStringList({"セーブデータがありません。"}));
    QCOMPARE(VisibleControls(form), QStringList({"Picture8", "TitleLabel"}));
    QCOMPARE(form.Music().CurrentSong(), std::string("設定"));
    QCOMPARE(FilesIn(folder.Saves()), QStringList());
    QCOMPARE(form.Data().GameState, State::NotStarted);

    // A slot saved at turn 0 counts as empty too.
    folder.WriteSave(1, SavedGame("初級", 0));
    Click(form.Option1[1]);
    Click(form.Command8);
    QCOMPARE(answerer.texts.size(), 2);
    QCOMPARE(answerer.texts[1], QString("セーブデータがありません。"));
    QVERIFY(form.Picture8->isVisible());
  }

  void continuingAnUnplayableSaveIsRefused() {
    AppFolder folder;
    SaveRecord broken = SavedGame("初級", 4);
    broken.CurrentDistrict = 9;
    folder.WriteSave(3, broken);
    const QByteArray before = Bytes(folder.Saves() / "Save3.sav");
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    Click(form.Command1[1]);
    QCOMPARE(form.Option1[3]->text(), QString("初級 Turn 4"));
    Click(form.Option1[3]);
    MessageBoxAnswerer answerer;
    Click(form.Command8);
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts[0].contains("CurrentDistrict"), qPrintable(answerer.texts[0]));
    QVERIFY(form.Picture8->isVisible());
    QCOMPARE(form.Data().GameState, State::NotStarted);
    QCOMPARE(Bytes(folder.Saves() / "Save3.sav"), before);
    QCOMPARE(FilesIn(folder.Saves()), QStringList({"Save3.sav"}));

    // The panel stays usable: back to the title.
    Click(form.Command9);
    QVERIFY(form.Picture1->isVisible());
  }
};

QTEST_MAIN(TitleScreenTest)
#include "TitleScreenTest.moc"
