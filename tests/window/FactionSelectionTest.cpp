// Faction selection on the real window: the offered buttons, the hints,
// player numbering in pick order, refusal and the automatic confirmation.
#include <QLabel>
#include <QTest>

#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;
using namespace yuunagi::test;

namespace {

const QString kConfirmation = "ゲームをはじめます。\nよろしいですか？";

// Starts the window with one scenario and opens the faction selection.
StartedWindow OpenSelection(AppFolder& folder, const ScenarioRecord& scenario) {
  folder.WriteScenario("テスト", scenario);
  StartedWindow w = StartWindow(folder);
  Click(w.form->Command1[0]);
  Click(w.form->Command8);
  Click(w.form->Command7);
  return w;
}

ScenarioRecord ThreeFactionScenario() {
  ScenarioRecord s = SixFactionScenario();
  s.StartOwner = {0, 0, 2, 2, 4, 4};
  s.DifficultyText = {"行0", "行1", "行2", "行3", "行4", "行5"};
  return s;
}

QList<int> OfferedFactions(MainForm& form) {
  QList<int> offered;
  for (int k = 0; k < kFactionCount; ++k)
    if (!form.Command2[k]->isHidden()) offered << k;
  return offered;
}

}  // namespace

class FactionSelectionTest : public QObject {
  Q_OBJECT

 private slots:
  void onlyTheStartTableFactionsAreOffered() {
    AppFolder folder;
    StartedWindow w = OpenSelection(folder, ThreeFactionScenario());
    MainForm& form = *w.form;
    QCOMPARE(VisibleControls(form), QStringList({"Picture11", "Picture2", "TitleLabel"}));
    QCOMPARE(form.Label1[0]->text(), QString("<1P>選択"));
    QCOMPARE(OfferedFactions(form), QList<int>({0, 2, 4}));
    QVERIFY(form.Command2[6]->isVisible());
    QCOMPARE(form.Data().FactionCount, 3);
    QCOMPARE(form.Data().PlayerCount, 0);
    // The description stays until the mouse comes over a button.
    QCOMPARE(form.Message->text(), QString("六つの勢力が町を争う。"));
  }

  void hoverShowsTheDifficultyOfTheFactionsFirstDistrict() {
    AppFolder folder;
    StartedWindow w = OpenSelection(folder, ThreeFactionScenario());
    MainForm& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseMove(form.Command2[2]);
    QTRY_COMPARE(form.Message->text(), QString("～ハナミ～ 難易度:行2"));
    QTest::mouseMove(form.Command2[6]);
    QTRY_COMPARE(form.Message->text(),
                 QString("ゲームを開始します。勢力を選んでいない場合は観戦モードとなります。"));
    // Leaving the button keeps the hint.
    QTest::mouseMove(form.Picture2, QPoint(2, 2));
    QTest::qWait(20);
    QCOMPARE(form.Message->text(),
             QString("ゲームを開始します。勢力を選んでいない場合は観戦モードとなります。"));
  }

  void playersAreNumberedInPickOrderAndNoClearsThePicks() {
    AppFolder folder;
    StartedWindow w = OpenSelection(folder, SixFactionScenario());
    MainForm& form = *w.form;
    QCOMPARE(form.Data().FactionCount, 6);
    Click(form.Command2[3]);  // トコナ first
    Click(form.Command2[0]);  // then ヒノデ
    QCOMPARE(form.Data().PlayerOfFaction[3], 1);
    QCOMPARE(form.Data().PlayerOfFaction[0], 2);
    QCOMPARE(form.Data().PlayerCount, 2);
    QCOMPARE(form.Label1[0]->text(), QString("<3P>選択"));
    QCOMPARE(OfferedFactions(form), QList<int>({1, 2, 4, 5}));

    MessageBoxAnswerer answerer({"No", "No"});
    Click(form.Command2[6]);
    QCOMPARE(answerer.texts, QStringList({kConfirmation}));
    QCOMPARE(answerer.captions, QStringList({"ユウナギ町争奪戦"}));
    QCOMPARE(form.Data().PlayerCount, 0);
    QCOMPARE(form.Data().PlayerOfFaction, (std::array<i16, 6>{0, 0, 0, 0, 0, 0}));
    QCOMPARE(OfferedFactions(form), QList<int>({0, 1, 2, 3, 4, 5}));
    QCOMPARE(form.Label1[0]->text(), QString("<1P>選択"));
    QVERIFY(form.Picture2->isVisible());
    QCOMPARE(form.Data().GameState, State::NotStarted);

    // No with nobody picked leaves PlayerCount at 0, not the spectators' 10.
    Click(form.Command2[6]);
    QCOMPARE(answerer.texts.size(), 2);
    QCOMPARE(form.Data().PlayerCount, 0);
  }

  void theLastPickConfirmsByItself() {
    AppFolder folder;
    StartedWindow w = OpenSelection(folder, ThreeFactionScenario());
    MainForm& form = *w.form;
    MessageBoxAnswerer answerer({"No", "Yes"});
    QString headingDuringQuestion = "?";
    answerer.onBox = [&] { headingDuringQuestion = form.Label1[0]->text(); };

    Click(form.Command2[4]);
    Click(form.Command2[0]);
    QCOMPARE(answerer.texts.size(), 0);
    Click(form.Command2[2]);
    QCOMPARE(answerer.texts, QStringList({kConfirmation}));
    QCOMPARE(headingDuringQuestion, QString());
    QCOMPARE(OfferedFactions(form), QList<int>({0, 2, 4}));
    QCOMPARE(form.Data().FactionCount, 3);

    // The same three picks again, and this time yes: the game starts.
    Click(form.Command2[2]);
    Click(form.Command2[4]);
    Click(form.Command2[0]);
    QCOMPARE(answerer.texts.size(), 2);
    QCOMPARE(form.Data().PlayerOfFaction, (std::array<i16, 6>{3, 0, 1, 0, 2, 0}));
    QCOMPARE(form.Data().PlayerCount, 3);
    QVERIFY(form.Picture2->isHidden());
    QCOMPARE(form.Data().TurnNumber, 1);
    QCOMPARE(form.Data().CurrentDistrict, 0);
    // District 0 belongs to ヒノデ, picked third: player 3 moves first.
    QVERIFY(form.Picture4->isVisible());
    QCOMPARE(form.Label1[1]->text(), QString("～<3P>の戦略～"));
    QCOMPARE(form.Label7->text(), QString("ヒノデの戦略"));
    QCOMPARE(form.Music().CurrentSong(), std::string("決戦の町"));
  }

  void scenarioTextsAreShownAsTheyAre() {
    // Texts of a scenario file are characters to show, not markup: an image
    // of a device would hang the game, a tag would change the font.
    AppFolder folder;
    ScenarioRecord scenario = SixFactionScenario();
    const QString description = "<b>太字</b><img src=\"/dev/zero\">";
    scenario.Description = description.toStdString();
    scenario.DifficultyText[2] = "<i>x</i>";
    StartedWindow w = OpenSelection(folder, scenario);
    MainForm& form = *w.form;
    QCOMPARE(form.Message->textFormat(), Qt::PlainText);
    QCOMPARE(form.Message->text(), description);
    for (QLabel* label : form.findChildren<QLabel*>()) {
      QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    }
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.grab().isNull());

    QTest::mouseMove(form.Command2[2]);
    QTRY_COMPARE(form.Message->text(), QString("～ハナミ～ 難易度:<i>x</i>"));
    QVERIFY(!form.grab().isNull());

    MessageBoxAnswerer answerer({"No"});
    Click(form.Command2[6]);
    QCOMPARE(answerer.formats, QList<Qt::TextFormat>({Qt::PlainText}));
  }

  void allSixFactionsInAnyOrderOfTheTable() {
    AppFolder folder;
    ScenarioRecord scenario = SixFactionScenario();
    scenario.StartOwner = {1, 0, 2, 3, 4, 5};
    StartedWindow w = OpenSelection(folder, scenario);
    MainForm& form = *w.form;
    QCOMPARE(OfferedFactions(form), QList<int>({0, 1, 2, 3, 4, 5}));
    QCOMPARE(form.Data().FactionCount, 6);
    MessageBoxAnswerer answerer({"No"});
    for (int k : {5, 4, 3, 2, 1}) Click(form.Command2[k]);
    QCOMPARE(answerer.texts.size(), 0);
    QCOMPARE(form.Label1[0]->text(), QString("<6P>選択"));
    QCOMPARE(OfferedFactions(form), QList<int>({0}));
    Click(form.Command2[0]);
    QCOMPARE(answerer.texts, QStringList({kConfirmation}));
    QCOMPARE(OfferedFactions(form), QList<int>({0, 1, 2, 3, 4, 5}));
  }

  void nobodyPickedMakesASpectatorGame() {
    AppFolder folder;
    StartedWindow w = OpenSelection(folder, SixFactionScenario());
    MainForm& form = *w.form;
    MessageBoxAnswerer answerer({"Yes"});
    Click(form.Command2[6]);
    QCOMPARE(answerer.texts.size(), 1);
    QCOMPARE(form.Data().PlayerCount, kSpectatorPlayerCount);
    QCOMPARE(form.Data().GameState, State::Moving);
    QVERIFY(form.Picture4->isHidden());
    QVERIFY(form.MovePending());
  }
};

QTEST_MAIN(FactionSelectionTest)
#include "FactionSelectionTest.moc"
