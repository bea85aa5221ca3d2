// The weapon panel and the clicks on the board on the real window: the
// weapons offered by level, their hints and prices, and what each mouse
// button does on a status panel, on the background and elsewhere, by state.
#include <QLabel>
#include <QTest>

#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;
using namespace yuunagi::test;

namespace {

// ヒノデ (1P) holds districts 0, 1 and 3, ソラノ (2P) districts 2, 4 and 5;
// nobody is left to the computer. District 0 moves.
SaveRecord HotSeatSave() {
  SaveRecord s;
  s.TurnNumber = 2;
  s.ScenarioName = "港町";
  s.MusicName = "港町の攻防";
  s.Owner = {0, 0, 1, 0, 1, 1};
  s.Money = {44, 100, 100, 100, 100, 100};
  s.Soldiers = {50, 50, 50, 50, 50, 50};
  s.Strength = {7, 10, 10, 10, 10, 10};
  s.Weapon = {4, 1, 1, 1, 1, 1};
  s.Development = {10, 10, 10, 10, 10, 10};
  s.CurrentDistrict = 0;
  s.PlayerOfFaction = {1, 2, 0, 0, 0, 0};
  s.PlayerCount = 2;
  return s;
}

QList<int> OfferedWeapons(MainForm& form) {
  QList<int> offered;
  for (int k = 0; k <= kWeaponLevels; ++k)
    if (!form.Command4[k]->isHidden()) offered << k;
  return offered;
}

const QString kPrompt = "攻撃対象をクリックしてください!!(右クリック キャンセル)";

// Nothing of the move has changed: still waiting for the target.
void ExpectStillAwaitingTarget(MainForm& form, const std::array<DistrictRecord, 6>& board) {
  QCOMPARE(form.Data().GameState, State::AwaitingTarget);
  QCOMPARE(form.Data().CurrentDistrict, 0);
  QCOMPARE(form.Message->text(), kPrompt);
  QVERIFY(form.Data().Districts == board);
  QVERIFY(form.Picture4->isHidden() && form.Picture5->isHidden() && form.Picture6->isHidden());
}

}  // namespace

class TargetingTest : public QObject {
  Q_OBJECT

 private slots:
  void weaponPanelOffersTheLevelsOwned_data() {
    QTest::addColumn<int>("weapon");
    for (int level = 1; level <= 5; ++level) QTest::addRow("level %d", level) << level;
  }

  void weaponPanelOffersTheLevelsOwned() {
    QFETCH(int, weapon);
    SaveRecord save = HotSeatSave();
    save.Weapon[0] = static_cast<i16>(weapon);
    save.Money[0] = 0;  // money is looked at only when a weapon is clicked
    RunningGame game(save);
    MainForm& form = game.form();
    Click(form.Command3[0]);
    QVERIFY(form.Picture4->isHidden());
    QVERIFY(form.Picture5->isVisible());
    QCOMPARE(form.Label1[2]->text(), QString("～武器選択～"));
    QList<int> expected;
    for (int k = 0; k <= weapon; ++k) expected << k;
    QCOMPARE(OfferedWeapons(form), expected);
    QCOMPARE(form.Command4[0]->text(), QString("キャンセル"));

    Click(form.Command4[0]);
    QVERIFY(form.Picture5->isHidden());
    QVERIFY(form.Picture4->isVisible());
    QCOMPARE(form.Data().GameState, State::Moving);

    // Fists cost nothing and are taken with an empty purse.
    Click(form.Command3[0]);
    Click(form.Command4[1]);
    QCOMPARE(form.Data().GameState, State::AwaitingTarget);
    QCOMPARE(form.Data().SelectedCommand, 1);
    QCOMPARE(form.Message->text(), kPrompt);
  }

  void weaponHintsShowDamageAndPrice() {
    SaveRecord save = HotSeatSave();
    save.Weapon[0] = 5;
    RunningGame game(save);
    MainForm& form = game.form();
    Click(form.Command3[0]);
    const QStringList hints = {
        "殴ります。（ダメージ = 7 費用 = 0）", "剣で攻撃します。（ダメージ = 10 費用 = 5）",
        "銃で攻撃します。（ダメージ = 17 費用 = 15）", "ミサイルで攻撃します。（ダメージ = 35 費用 = 45）",
        "核ミサイルで攻撃します。（ダメージ = 70 費用 = 100）"};
    for (int level = 1; level <= 5; ++level) {
      QTest::mouseMove(form.Command4[level]);
      QCOMPARE(form.Message->text(), hints[level - 1]);
    }
    // キャンセル has no hint: the last one stays.
    QTest::mouseMove(form.Command4[0]);
    QCOMPARE(form.Message->text(), hints[4]);

    // The damage is that of the mover's strength, rounded down.
    for (const auto& [strength, sword] : {std::pair{15, "22"}, std::pair{-7, "-11"}, std::pair{0, "0"}}) {
      form.Data().Districts[0].Strength = static_cast<i16>(strength);
      QTest::mouseMove(form.Command4[1]);
      QTest::mouseMove(form.Command4[2]);
      QCOMPARE(form.Message->text(), QString("剣で攻撃します。（ダメージ = %1 費用 = 5）").arg(sword));
    }
  }

  void weaponThatCostsMoreThanTheMoneyIsRefused() {
    RunningGame game(HotSeatSave());  // 44 gold, missile level
    MainForm& form = game.form();
    Click(form.Command3[0]);
    Click(form.Command4[4]);
    QCOMPARE(form.Message->text(), QString("金が足りません。"));
    QVERIFY(form.Picture5->isVisible());
    QCOMPARE(form.Data().GameState, State::Moving);
    Click(form.Command4[3]);
    QCOMPARE(form.Data().GameState, State::AwaitingTarget);
    QCOMPARE(form.Data().SelectedCommand, 3);
    QCOMPARE(form.Message->text(), kPrompt);
    QCOMPARE(VisibleControls(form),
             QStringList({"Picture10", "Picture11", "Picture3(0)", "Picture3(1)", "Picture3(2)",
                          "Picture3(3)", "Picture3(4)", "Picture3(5)"}));
  }

  void boardClicksByStateAndButton() {
    RunningGame game(HotSeatSave(), {0.9, 0.5});
    MainForm& form = game.form();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const std::array<DistrictRecord, 6> board = form.Data().Districts;

    // State 1, menu open: the board takes no clicks.
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
      ClickThroughWindow(form.Picture3[2], button);
      ClickBackground(form, button);
    }
    QCOMPARE(form.Data().GameState, State::Moving);
    QVERIFY(form.Picture4->isVisible());

    Click(form.Command3[0]);
    Click(form.Command4[3]);
    ExpectStillAwaitingTarget(form, board);

    // State 2: no target among the own faction's districts, nor on the background.
    for (int own : {0, 1, 3}) ClickThroughWindow(form.Picture3[own], Qt::LeftButton);
    ClickBackground(form, Qt::LeftButton);
    // The middle button does nothing anywhere.
    ClickThroughWindow(form.Picture3[2], Qt::MiddleButton);
    ClickBackground(form, Qt::MiddleButton);
    // Other panels are not the board.
    ClickThroughWindow(form.Picture11, Qt::LeftButton);
    ClickThroughWindow(form.Picture10, Qt::RightButton);
    ClickThroughWindow(form.Message, Qt::RightButton);
    ExpectStillAwaitingTarget(form, board);

    // The right button calls the pick off, on a panel or on the background.
    ClickThroughWindow(form.Picture3[2], Qt::RightButton);
    QCOMPARE(form.Data().GameState, State::Moving);
    QVERIFY(form.Picture5->isVisible());
    QCOMPARE(OfferedWeapons(form), QList<int>({0, 1, 2, 3, 4}));
    QCOMPARE(form.Message->text(), kPrompt);  // until the pointer comes over a weapon
    Click(form.Command4[3]);
    ClickBackground(form, Qt::RightButton);
    QCOMPARE(form.Data().GameState, State::Moving);
    QVERIFY(form.Picture5->isVisible());

    // A left click on a label of ソラノ's panel is a click on the panel: the attack.
    Click(form.Command4[3]);
    const QPoint onLabel = form.Data3[2]->geometry().center();
    QCOMPARE(form.Picture3[2]->childAt(onLabel), nullptr);
    ClickThroughWindow(form.Picture3[2], Qt::LeftButton, onLabel);
    QCOMPARE(form.Data().GameState, State::AwaitingClick);
    QCOMPARE(form.Data().Districts[2].Soldiers, 50 - 17);
    QCOMPARE(form.Data().Districts[0].Money, 44 - 15);
    QCOMPARE(form.Data3[2]->text(), QString("33"));
    QCOMPARE(form.Message->text(), QString("ヒノデの戦略: ソラノに銃を乱射した。17のダメージ!!"));

    // State 3: only the board moves the game on, with any button, once.
    ClickThroughWindow(form.Picture11, Qt::LeftButton);
    ClickThroughWindow(form.Picture10, Qt::LeftButton);
    QCOMPARE(form.Data().GameState, State::AwaitingClick);
    QCOMPARE(form.Data().CurrentDistrict, 0);
    ClickBackground(form, Qt::RightButton);
    QCOMPARE(form.Data().CurrentDistrict, 1);
    QCOMPARE(form.Data().GameState, State::Moving);
    QVERIFY(form.Picture4->isVisible());
    QCOMPARE(form.Label1[1]->text(), QString("～<1P>の戦略～"));
    ClickBackground(form, Qt::LeftButton);
    QCOMPARE(form.Data().CurrentDistrict, 1);

    Click(form.Command3[1]);
    QCOMPARE(form.Data().GameState, State::AwaitingClick);
    ClickThroughWindow(form.Picture3[4], Qt::MiddleButton);
    QCOMPARE(form.Data().CurrentDistrict, 2);
    QCOMPARE(form.Label1[1]->text(), QString("～<2P>の戦略～"));
    QCOMPARE(form.Label7->text(), QString("ソラノの戦略"));
    QCOMPARE(game.random().Remaining(), 0);
    QVERIFY(!game.random().Overdrawn());
  }
};

QTEST_MAIN(TargetingTest)
#include "TargetingTest.moc"
