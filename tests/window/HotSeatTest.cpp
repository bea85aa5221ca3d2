// Whole games of people at one screen, driven by real clicks on the real
// window with scripted chances: two players from the faction pick through
// attacks, a capture and a destruction to the victory; a game saved and
// continued in a new window; and the last human faction's fall.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "files/SaveFile.h"
#include "media/MusicPlayer.h"
#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;
using namespace yuunagi::test;

namespace {

// ヒノデ and ソラノ share the town with a weak ハナミ in district 1.
ScenarioRecord DuelScenario() {
  ScenarioRecord s;
  s.StartTurn = 1;
  s.Music = "決戦の町";
  s.Description = "ヒノデとソラノの一騎打ち。";
  s.DifficultyText = {"ふつう", "やさしい", "ふつう", "ふつう", "ふつう", "ふつう"};
  s.StartOwner = {0, 2, 1, 1, 0, 1};
  s.StartMoney = {100, 50, 100, 100, 100, 100};
  s.StartSoldiers = {100, 20, 40, 40, 100, 40};
  s.StartStrength = {30, 5, 20, 10, 30, 10};
  s.StartWeapon = {2, 1, 1, 1, 2, 1};
  s.StartDevelopment = {10, 5, 10, 10, 10, 10};
  return s;
}

// From the title: a new game in `slot`, the only scenario, 1P ヒノデ, 2P ソラノ,
// 決定; the start question is answered by `answerer`.
void StartDuel(MainForm& form, int slot) {
  Click(form.Command1[0]);
  Click(form.Option1[slot]);
  Click(form.Command8);
  Click(form.Command7);
  Click(form.Command2[0]);
  QCOMPARE(form.Label1[0]->text(), QString("<2P>選択"));
  Click(form.Command2[1]);
  Click(form.Command2[kFactionCount]);
}

QString Name(int faction) { return QString::fromUtf8(FactionNames[faction].data()); }

// Attacks `target` with the weapon of `level` by clicking through the menus.
void AttackWith(MainForm& form, int level, int target) {
  Click(form.Command3[0]);
  Click(form.Command4[level]);
  QCOMPARE(form.Data().GameState, State::AwaitingTarget);
  ClickThroughWindow(form.Picture3[target], Qt::LeftButton);
}

// Types `amount` for action 2, 3 or 4 and confirms it.
void BuyAmount(MainForm& form, int action, const QString& amount) {
  Click(form.Command3[action]);
  form.Text1->clear();
  QTest::keyClicks(form.Text1, amount);
  QTest::keyClick(form.Text1, Qt::Key_Return);
}

void ExpectMover(MainForm& form, int district, int player) {
  QCOMPARE(form.Data().CurrentDistrict, district);
  QVERIFY(form.Picture4->isVisible());
  QCOMPARE(form.Label1[1]->text(), QString("～<%1P>の戦略～").arg(player));
  QCOMPARE(form.Label7->text(), Name(form.Data().Districts[district].Owner) + "の戦略");
  QVERIFY(form.Data1[district]->font().bold());
}

void ExpectPanel(MainForm& form, int i) {
  const DistrictRecord& d = form.Data().Districts[i];
  QCOMPARE(form.Data1[i]->text(), Name(d.Owner));
  QCOMPARE(form.Data2[i]->text(), QString::number(d.Money));
  QCOMPARE(form.Data3[i]->text(), QString::number(d.Soldiers));
  QCOMPARE(form.Data4[i]->text(), QString::number(d.Strength));
}

}  // namespace

class HotSeatTest : public QObject {
  Q_OBJECT

 private slots:
  void twoPlayersPlayTheirDuelToTheEnd() {
    AppFolder folder;
    folder.WriteScenario("一騎打ち", DuelScenario());
    auto scripted = std::make_unique<ScriptedRandom>(
        std::initializer_list<double>{0.9, 0.5, 0.3, 0.9, 0.9, 0.9, 0.9, 0.9, 0.9});
    ScriptedRandom& random = *scripted;
    StartedWindow w = StartWindow(folder, std::move(scripted));
    MainForm& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    MessageBoxAnswerer answerer({"Yes"});
    QStringList songs;
    answerer.onBox = [&] { songs << QString::fromStdString(form.Music().CurrentSong()); };
    StartDuel(form, 0);
    const GameData& data = form.Data();
    QCOMPARE(data.PlayerCount, 2);
    QCOMPARE(data.PlayerOfFaction, (std::array<i16, 6>{1, 2, 0, 0, 0, 0}));

    // Turn 1, district 0 (1P): a sword on ハナミ's only district takes it and
    // destroys ハナミ; the game goes straight on, without a click.
    ExpectMover(form, 0, 1);
    QTest::mouseMove(form.Command3[0]);
    QCOMPARE(form.Message->text(), QString("敵の勢力を攻撃します。"));
    Click(form.Command3[0]);
    QTest::mouseMove(form.Command4[2]);
    QCOMPARE(form.Message->text(), QString("剣で攻撃します。（ダメージ = 45 費用 = 5）"));
    AttackWith(form, 2, 1);
    QCOMPARE(answerer.texts.size(), 2);
    QCOMPARE(answerer.texts[1], QString("ハナミは滅亡した。"));
    QCOMPARE(answerer.captions[1], QString("ユウナギ町争奪戦"));
    QCOMPARE(form.Message->text(),
             QString("ヒノデの戦略: ハナミを斬りつけた。45のダメージ!!ハナミを占領した!!"));
    QCOMPARE(data.Districts[0], (DistrictRecord{0, 95, 50, 30, 2, 10}));
    QCOMPARE(data.Districts[1], (DistrictRecord{0, 50, 50, 5, 1, 5}));
    QCOMPARE(data.PlayerCount, 2);
    ExpectPanel(form, 0);
    ExpectPanel(form, 1);

    // District 1, taken by 1P, is now 1P's move: collect.
    ExpectMover(form, 1, 1);
    QVERIFY(!form.Data1[0]->font().bold());
    Click(form.Command3[1]);
    QCOMPARE(data.Districts[1].Money, 50 + 2 + 1);
    ClickBackground(form, Qt::LeftButton);

    // District 2 (2P): fists on ヒノデ's district 0; its strength grows.
    ExpectMover(form, 2, 2);
    AttackWith(form, 1, 0);
    QCOMPARE(data.Districts[0].Soldiers, 30);
    QCOMPARE(data.Districts[2].Strength, 21);
    QCOMPARE(form.Message->text(), QString("ソラノの戦略: ヒノデを殴った。20のダメージ!!"));
    ClickThroughWindow(form.Picture3[4], Qt::RightButton);

    // District 3 (2P): 2.5 soldiers are 2.
    ExpectMover(form, 3, 2);
    BuyAmount(form, Hire, "2.5");
    QCOMPARE(data.Districts[3].Soldiers, 42);
    QCOMPARE(data.Districts[3].Money, 98);
    ClickBackground(form, Qt::MiddleButton);

    // District 4 (1P) takes ソラノ's district 2; ソラノ holds on elsewhere.
    ExpectMover(form, 4, 1);
    AttackWith(form, 2, 2);
    QCOMPARE(data.Districts[2].Owner, 0);
    QCOMPARE(data.Districts[2].Soldiers, 50);
    QCOMPARE(data.Districts[4].Soldiers, 50);
    QCOMPARE(answerer.texts.size(), 2);
    QCOMPARE(data.GameState, State::AwaitingClick);
    ClickThroughWindow(form.Picture3[2], Qt::LeftButton);

    // District 5 (2P) trains; the click after it opens turn 2 with the income.
    ExpectMover(form, 5, 2);
    BuyAmount(form, Train, "3");
    QCOMPARE(data.Districts[5].Strength, 13);
    QCOMPARE(data.Districts[5].Money, 70);
    ClickBackground(form, Qt::LeftButton);
    QCOMPARE(data.TurnNumber, 2);
    QCOMPARE(form.Label8->text(), QString("Turn 2"));
    QCOMPARE(data.Districts[5].Money, 80);
    QCOMPARE(data.Districts[1].Money, 58);
    for (int i = 0; i < kDistrictCount; ++i) ExpectPanel(form, i);

    // Turn 2: ヒノデ closes in on ソラノ's last district and takes it.
    ExpectMover(form, 0, 1);
    AttackWith(form, 2, 3);  // 45 damage on 42 soldiers
    QCOMPARE(data.Districts[3].Owner, 0);
    ClickBackground(form, Qt::LeftButton);
    ExpectMover(form, 1, 1);
    AttackWith(form, 1, 5);
    QCOMPARE(data.Districts[5].Soldiers, 35);
    ClickBackground(form, Qt::LeftButton);
    ExpectMover(form, 2, 1);  // the district taken from 2P plays for 1P
    AttackWith(form, 1, 5);
    QCOMPARE(data.Districts[5].Soldiers, 14);
    ClickBackground(form, Qt::LeftButton);
    ExpectMover(form, 3, 1);
    AttackWith(form, 1, 5);
    QCOMPARE(data.Districts[5].Soldiers, 4);
    ClickBackground(form, Qt::LeftButton);
    ExpectMover(form, 4, 1);
    QCOMPARE(*w.exitStatus, -1);
    AttackWith(form, 2, 5);

    // The whole town is ヒノデ's: the victory message, then the program ends.
    QCOMPARE(answerer.texts.size(), 3);
    QCOMPARE(answerer.texts[2], QString("ヒノデはユウナギ町を制圧した。"));
    QCOMPARE(songs[2], QString());  // the music stopped before the message
    QCOMPARE(*w.exitStatus, 0);
    QVERIFY(form.Ended());
    QCOMPARE(form.Game().Winner(), 0);
    for (int i = 0; i < kDistrictCount; ++i) QCOMPARE(form.Data1[i]->text(), Name(0));
    QCOMPARE(random.Remaining(), 0);
    QVERIFY(!random.Overdrawn());
    QCOMPARE(form.Game().MoveCount(), 11);
  }

  void savedGameContinuesInANewWindowAsItWas() {
    AppFolder folder;
    folder.WriteScenario("一騎打ち", DuelScenario());
    GameData atSave;
    GameData afterAttack;
    {
      auto scripted = std::make_unique<ScriptedRandom>(std::initializer_list<double>{0.9, 0.3});
      StartedWindow w = StartWindow(folder, std::move(scripted));
      MainForm& form = *w.form;
      MessageBoxAnswerer answerer({"Yes"});
      StartDuel(form, 3);
      AttackWith(form, 2, 1);  // ハナミ falls; district 1 is 1P's move
      ExpectMover(form, 1, 1);
      Click(form.Command3[6]);
      QCOMPARE(form.Message->text(), QString("セーブしました。"));
      ExpectMover(form, 1, 1);
      atSave = form.Data();
      AttackWith(form, 1, 2);
      afterAttack = form.Data();
      QCOMPARE(afterAttack.Districts[2].Soldiers, 35);
    }

    // A new program: つづきから, slot 3.
    auto scripted = std::make_unique<ScriptedRandom>(std::initializer_list<double>{0.3});
    StartedWindow w = StartWindow(folder, std::move(scripted));
    MainForm& form = *w.form;
    Click(form.Command1[1]);
    QCOMPARE(form.Option1[3]->text(), QString("一騎打ち Turn 1"));
    Click(form.Option1[3]);
    Click(form.Command8);
    const GameData& data = form.Data();
    QCOMPARE(data.Districts, atSave.Districts);
    QCOMPARE(data.PlayerOfFaction, atSave.PlayerOfFaction);
    QCOMPARE(data.PlayerCount, atSave.PlayerCount);
    QCOMPARE(data.TurnNumber, atSave.TurnNumber);
    QCOMPARE(data.ScenarioName, atSave.ScenarioName);
    QCOMPARE(data.MusicName, atSave.MusicName);
    QCOMPARE(form.windowTitle(), QString("ユウナギ町争奪戦～一騎打ち～"));
    QCOMPARE(form.Music().CurrentSong(), std::string("決戦の町"));
    // The saved move begins again from its start, for the same player.
    ExpectMover(form, 1, 1);
    for (int i = 0; i < kDistrictCount; ++i) ExpectPanel(form, i);

    // And the same action leads to the same board.
    AttackWith(form, 1, 2);
    QCOMPARE(data.Districts, afterAttack.Districts);
    QCOMPARE(form.Message->text(), QString("ヒノデの戦略: ソラノを殴った。5のダメージ!!"));
    ClickBackground(form);
    ExpectMover(form, 2, 2);
  }

  void fallOfTheLastHumanFactionEndsTheGame() {
    SaveRecord save;
    save.TurnNumber = 1;
    save.ScenarioName = "孤立";
    save.MusicName = "嵐の前夜";
    save.Owner = {0, 1, 1, 1, 1, 2};
    save.Money = {0, 100, 100, 100, 100, 100};
    save.Soldiers = {0, 10, 10, 10, 10, 10};
    save.Strength = {5, 5, 5, 5, 5, 5};
    save.Weapon = {1, 1, 1, 1, 1, 1};
    save.Development = {10, 10, 10, 10, 10, 10};
    save.PlayerOfFaction = {1, 0, 0, 0, 0, 0};
    save.PlayerCount = 1;
    // The human collects; the click lets ソラノ's district 1 move, which finds
    // district 0 without soldiers at its first look and takes it.
    RunningGame game(save, {0.5, 0.0, 0.9});
    MainForm& form = game.form();
    MessageBoxAnswerer answerer;
    QStringList songs;
    answerer.onBox = [&] { songs << QString::fromStdString(form.Music().CurrentSong()); };
    ExpectMover(form, 0, 1);
    Click(form.Command3[1]);
    QCOMPARE(game.exitStatus(), -1);
    ClickBackground(form);

    QCOMPARE(answerer.texts, QStringList({"ヒノデは滅亡した。"}));
    QCOMPARE(songs, QStringList({QString()}));
    QCOMPARE(game.exitStatus(), 0);
    QVERIFY(form.Ended());
    QCOMPARE(form.Data().PlayerCount, 0);
    QCOMPARE(form.Data().Districts[0].Owner, 1);
    QCOMPARE(form.Message->text(), QString("ソラノの戦略: ヒノデを殴った。5のダメージ!!ヒノデを占領した!!"));
    QVERIFY(!form.MovePending());
    QCOMPARE(game.random().Remaining(), 0);
    QVERIFY(!game.random().Overdrawn());
  }
};

QTEST_MAIN(HotSeatTest)
#include "HotSeatTest.moc"
