// Games on the real window: the board from the first frame, the mover's
// highlight, a spectator game from its first move to the victory message and
// the program's end, a continued game, and closing the window mid-game.
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTest>

#include <chrono>

#include "files/SaveFile.h"
#include "media/MusicPlayer.h"
#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;
using namespace yuunagi::test;

namespace {

// Clicks from the title to the answer of the start confirmation, nobody
// picking a faction.
void StartSpectatorGame(MainForm& form, MessageBoxAnswerer& answerer) {
  Click(form.Command1[0]);
  Click(form.Command8);
  Click(form.Command7);
  Click(form.Command2[kFactionCount]);
  QCOMPARE(answerer.texts.size(), 1);
}

bool ShowsEmblem(MainForm& form, int district, int faction) {
  const QImage drawn = form.Picture3[district]->Drawing().toImage();
  const QImage emblem = form.SourcePicture[faction]->Picture().toImage();
  const QColor a = drawn.pixelColor(drawn.width() / 2, drawn.height() / 2);
  const QColor b = emblem.pixelColor(emblem.width() / 2, emblem.height() / 2);
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 24;
}

QString Number(int n) { return QString::number(n); }

}  // namespace

class GamePlayTest : public QObject {
  Q_OBJECT

 private slots:
  void boardShowsFromTheFirstFrame() {
    AppFolder folder;
    ScenarioRecord scenario = SixFactionScenario();
    // District 1 starts in the hands of ハナミ; some values above the limits,
    // and a strength below zero (shown with its minus sign).
    scenario.StartOwner = {0, 2, 2, 3, 4, 5};
    scenario.StartMoney = {20000, 100, 100, 100, 100, 100};
    scenario.StartStrength = {10, 10, -5, 10, 10, 10};
    scenario.StartWeapon = {7, 1, 2, 3, 4, 5};
    folder.WriteScenario("初陣", scenario);
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.HScroll1->setValue(2000);  // a long pause, to look at the board
    MessageBoxAnswerer answerer({"Yes"});
    StartSpectatorGame(form, answerer);

    QCOMPARE(form.windowTitle(), QString("ユウナギ町争奪戦～初陣～"));
    QCOMPARE(VisibleControls(form),
             QStringList({"Picture10", "Picture11", "Picture3(0)", "Picture3(1)", "Picture3(2)",
                          "Picture3(3)", "Picture3(4)", "Picture3(5)"}));
    QCOMPARE(form.Label8->text(), QString("Turn 1"));
    QCOMPARE(form.Music().CurrentSong(), std::string("決戦の町"));
    // District 0 has made its move and the game pauses before district 1's.
    QVERIFY(form.MovePending());
    QCOMPARE(form.Data().CurrentDistrict, 0);
    const GameData& data = form.Data();
    for (int i = 0; i < kDistrictCount; ++i) {
      const DistrictRecord& d = data.Districts[i];
      QCOMPARE(form.Data1[i]->text(), QString::fromUtf8(FactionNames[d.Owner].data()));
      QCOMPARE(form.Data2[i]->text(), Number(d.Money));
      QCOMPARE(form.Data3[i]->text(), Number(d.Soldiers));
      QCOMPARE(form.Data4[i]->text(), Number(d.Strength));
      QCOMPARE(form.Data5[i]->text(), Number(d.Weapon));
      QCOMPARE(form.Data6[i]->text(), Number(d.Development));
      QVERIFY2(ShowsEmblem(form, i, d.Owner), qPrintable(QString("panel %1").arg(i)));
      QCOMPARE(form.Data1[i]->size(), form.Data1[i]->sizeHint());
    }
    QCOMPARE(form.Data1[1]->text(), QString("ハナミ"));
    QVERIFY(!ShowsEmblem(form, 1, 1));
    QVERIFY(data.Districts[0].Money <= 10000);
    QCOMPARE(form.Data5[0]->text(), QString("5"));
    QCOMPARE(form.Data4[2]->text(), QString("-5"));

    // The mover's name is highlighted until its move ends.
    QCOMPARE(form.Data1[0]->font().pointSizeF(), 14.0);
    QVERIFY(form.Data1[0]->font().bold());
    QCOMPARE(form.Data1[1]->font().pointSizeF(), 11.25);
    QCOMPARE(form.Label7->text(), QString("ヒノデの戦略"));
  }

  void highlightFollowsTheMover() {
    AppFolder folder;
    folder.WriteScenario("初陣", SixFactionScenario());
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    form.HScroll1->setValue(100);
    QCOMPARE(form.Data().GameSpeed, 100.0f);
    MessageBoxAnswerer answerer({"Yes"});
    StartSpectatorGame(form, answerer);
    QTRY_COMPARE(form.Data().CurrentDistrict, 2);
    QCOMPARE(form.Data1[1]->font().pointSizeF(), 11.0);
    QVERIFY(!form.Data1[1]->font().bold());
    QCOMPARE(form.Data1[2]->font().pointSizeF(), 14.0);
    QVERIFY(form.Data1[2]->font().bold());
    QCOMPARE(form.Label7->text(),
             QString::fromUtf8(FactionNames[form.Data().Districts[2].Owner].data()) + "の戦略");
  }

  void spectatorGamePlaysToTheVictoryAndTheEnd() {
    AppFolder folder;
    folder.WriteScenario("早い決着", QuickScenario());
    StartedWindow w = StartWindow(folder, 7);
    MainForm& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    MessageBoxAnswerer answerer({"Yes"});
    QStringList songsAtEnd;
    answerer.onBox = [&] { songsAtEnd << QString::fromStdString(form.Music().CurrentSong()); };
    StartSpectatorGame(form, answerer);
    // Drive the scheduled moves without the pause.
    form.Data().GameSpeed = 0;
    QTRY_COMPARE_WITH_TIMEOUT(*w.exitStatus, 0, 120000);

    QVERIFY(form.Game().Finished());
    const int winner = form.Game().Winner();
    QVERIFY(winner >= 0 && winner < kFactionCount);
    // No destroyed-faction box in spectator mode: the question, then the victory.
    QCOMPARE(answerer.texts.size(), 2);
    QCOMPARE(answerer.texts[1], QString::fromUtf8(FactionNames[winner].data()) + "はユウナギ町を制圧した。");
    QCOMPARE(answerer.captions[1], QString("ユウナギ町争奪戦"));
    QCOMPARE(songsAtEnd[1], QString());  // the music stopped before the message
    for (int i = 0; i < kDistrictCount; ++i) {
      QCOMPARE(int(form.Data().Districts[i].Owner), winner);
      QCOMPARE(form.Data1[i]->text(), QString::fromUtf8(FactionNames[winner].data()));
    }
    QVERIFY(form.Ended());
    QVERIFY(!form.MovePending());
    const long long moves = form.Game().MoveCount();
    QTest::qWait(50);
    QCOMPARE(form.Game().MoveCount(), moves);
  }

  void closingDuringThePauseEndsTheProgram() {
    AppFolder folder;
    folder.WriteScenario("初陣", SixFactionScenario());
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    form.HScroll1->setValue(2000);
    MessageBoxAnswerer answerer({"Yes"});
    StartSpectatorGame(form, answerer);
    QVERIFY(form.MovePending());
    // The window repaints and answers while it waits.
    const long long moves = form.Game().MoveCount();
    QTest::qWait(100);
    QCOMPARE(form.Game().MoveCount(), moves);
    QVERIFY(form.close());
    QCOMPARE(*w.exitStatus, 0);
    QVERIFY(!form.MovePending());
    QTest::qWait(50);
    QCOMPARE(form.Game().MoveCount(), moves);
    QCOMPARE(answerer.texts.size(), 1);  // no question, nothing saved
    QCOMPARE(QDir(QString::fromStdString(folder.Saves().string())).entryList(QDir::Files).size(), 0);
  }

  void clicksDuringThePauseDoNothing() {
    AppFolder folder;
    folder.WriteScenario("初陣", SixFactionScenario());
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.HScroll1->setValue(2000);
    MessageBoxAnswerer answerer({"Yes"});
    StartSpectatorGame(form, answerer);
    QVERIFY(form.MovePending());
    const long long moves = form.Game().MoveCount();
    const int district = form.Data().CurrentDistrict;
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
      for (PictureBox* panel : form.Picture3) ClickThroughWindow(panel, button);
      ClickBackground(form, button);
      QCOMPARE(form.Game().MoveCount(), moves);
      QCOMPARE(form.Data().CurrentDistrict, district);
      QVERIFY(form.MovePending());
    }
    // The pause still ends in the next move, once.
    QTRY_COMPARE_WITH_TIMEOUT(form.Game().MoveCount(), moves + 1, 10000);
    QCOMPARE(form.Data().CurrentDistrict, district + 1);
    QVERIFY(form.MovePending());
    QCOMPARE(answerer.texts.size(), 1);
  }

  void pauseFollowsTheGameSpeed() {
    AppFolder folder;
    folder.WriteScenario("初陣", SixFactionScenario());
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    MessageBoxAnswerer answerer({"Yes"});
    form.HScroll1->setValue(100);
    StartSpectatorGame(form, answerer);
    QVERIFY(form.MovePending());
    QCOMPARE(form.PauseMilliseconds(), 100);
    // The bar is read at each computer move; the moves are driven here as
    // the end of the pause drives them.
    for (const int speed : {1000, 2000}) {
      form.HScroll1->setValue(speed);
      QCOMPARE(form.Data().GameSpeed, float(speed));
      const long long moves = form.Game().MoveCount();
      form.Game().NextMove();
      QCOMPARE(form.Game().MoveCount(), moves + 1);
      QVERIFY(form.MovePending());
      QCOMPARE(form.PauseMilliseconds(), speed);
    }
  }

  void closingTheWindowEndsTheProgramAndTheMusic_data() {
    QTest::addColumn<QString>("screen");
    QTest::newRow("title") << "title";
    QTest::newRow("slot panel") << "slots";
    QTest::newRow("faction selection") << "factions";
    QTest::newRow("action menu") << "actions";
  }

  void closingTheWindowEndsTheProgramAndTheMusic() {
    QFETCH(QString, screen);
    AppFolder folder;
    folder.WriteScenario("初陣", SixFactionScenario());
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    QVERIFY(form.Music().WaitUntilLoaded(std::chrono::seconds(30)));
    QVERIFY(form.Music().IsReady());
    MessageBoxAnswerer answerer({"Yes"});
    if (screen != "title") Click(form.Command1[0]);
    if (screen == "factions" || screen == "actions") {
      Click(form.Command8);
      Click(form.Command7);
    }
    if (screen == "actions") {
      Click(form.Command2[0]);  // ヒノデ holds district 0, which moves first
      Click(form.Command2[kFactionCount]);
      QVERIFY(form.Picture4->isVisible());
    }
    const QString shown = screen == "slots"      ? "Picture8"
                          : screen == "factions" ? "Picture2"
                          : screen == "actions"  ? "Picture4"
                                                 : "Picture1";
    QVERIFY(VisibleControls(form).contains(shown));
    QVERIFY(!form.Music().CurrentSong().empty());

    QVERIFY(form.close());
    QCOMPARE(*w.exitStatus, 0);
    QVERIFY(form.Ended());
    // The music is closed for good: nothing sounds, and no song starts again.
    QVERIFY(!form.Music().IsReady());
    QVERIFY(!form.Music().IsPlaying());
    QCOMPARE(form.Music().CurrentSong(), std::string());
    form.Music().PlayMusic("オープニング");
    QCOMPARE(form.Music().CurrentSong(), std::string());
  }

  void continuedGameRestoresTheSaveAndStartsWithItsMover() {
    AppFolder folder;
    SaveRecord save;
    save.TurnNumber = 7;
    save.ScenarioName = "港町";
    save.MusicName = "港町の攻防";
    save.Owner = {0, 1, 1, 3, 4, 5};
    save.Money = {11, 22, 33, 44, 55, 66};
    save.Soldiers = {101, 102, 103, 104, 105, 106};
    save.Strength = {7, 8, 9, 10, 11, 12};
    save.Weapon = {1, 2, 3, 4, 5, 1};
    save.Development = {13, 14, 15, 16, 17, 18};
    save.CurrentDistrict = 3;
    save.PlayerOfFaction = {0, 0, 0, 1, 0, 0};
    save.PlayerCount = 1;
    folder.WriteSave(2, save);
    const QString file = QString::fromStdString((folder.Saves() / "Save2.sav").string());
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    Click(form.Command1[1]);
    QCOMPARE(form.Option1[2]->text(), QString("港町 Turn 7"));
    Click(form.Option1[2]);
    Click(form.Command8);

    const GameData& data = form.Data();
    for (int i = 0; i < kDistrictCount; ++i) {
      const DistrictRecord expected{save.Owner[i],    save.Money[i],  save.Soldiers[i],
                                    save.Strength[i], save.Weapon[i], save.Development[i]};
      QCOMPARE(data.Districts[i], expected);
      QCOMPARE(form.Data2[i]->text(), Number(save.Money[i]));
      QCOMPARE(form.Data6[i]->text(), Number(save.Development[i]));
    }
    QCOMPARE(form.Data1[2]->text(), QString("ソラノ"));
    QCOMPARE(data.CurrentDistrict, 3);
    QCOMPARE(data.TurnNumber, 7);
    QCOMPARE(data.PlayerCount, 1);
    QCOMPARE(data.ScenarioName, std::string("港町"));
    QCOMPARE(form.windowTitle(), QString("ユウナギ町争奪戦～港町～"));
    QCOMPARE(form.Label8->text(), QString("Turn 7"));
    QCOMPARE(form.Music().CurrentSong(), std::string("港町の攻防"));
    // District 3 is player 1's: the action menu waits for them.
    QVERIFY(form.Picture4->isVisible());
    QCOMPARE(form.Label1[1]->text(), QString("～<1P>の戦略～"));
    QCOMPARE(form.Label7->text(), QString("トコナの戦略"));
    QVERIFY(form.Data1[3]->font().bold());
    QVERIFY(form.Picture8->isHidden());
    QVERIFY(form.TitleLabel->isHidden());
    QVERIFY(!form.MovePending());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
  }
};

QTEST_MAIN(GamePlayTest)
#include "GamePlayTest.moc"
