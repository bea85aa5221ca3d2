// The action menu of a human move on the real window: hints, every command
// with its price check and refusal, the amount panel with what can be typed
// in it, and saving — into the slot, or failing without losing the old one.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <sys/resource.h>

#include <csignal>

#include "files/SaveFile.h"
#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;
using namespace yuunagi::test;

namespace {

// ヒノデ (1P) holds districts 0, 1 and 3, ソラノ (2P) the others; district 0
// moves. District 3 is rich and armed, to show that only the mover's money counts.
SaveRecord HotSeatSave() {
  SaveRecord s;
  s.TurnNumber = 3;
  s.ScenarioName = "港町";
  s.MusicName = "港町の攻防";
  s.Owner = {0, 0, 1, 0, 1, 1};
  s.Money = {100, 400, 100, 5000, 100, 100};
  s.Soldiers = {50, 50, 50, 50, 50, 50};
  s.Strength = {15, 7, 10, 10, 10, 10};
  s.Weapon = {1, 4, 1, 5, 1, 1};
  s.Development = {20, 900, 10, 900, 10, 10};
  s.CurrentDistrict = 0;
  s.PlayerOfFaction = {1, 2, 0, 0, 0, 0};
  s.PlayerCount = 2;
  return s;
}

QByteArray Bytes(const std::filesystem::path& file) {
  QFile f(QString::fromStdString(file.string()));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList FilesIn(const std::filesystem::path& folder) {
  return QDir(QString::fromStdString(folder.string()))
      .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Types `text` into the amount box over what it held.
void Type(MainForm& form, const QString& text) {
  form.Text1->clear();
  QTest::keyClicks(form.Text1, text);
}

bool MenuShown(MainForm& form) {
  return form.Picture4->isVisible() && form.Picture5->isHidden() && form.Picture6->isHidden();
}

const QStringList kHints = {"敵の勢力を攻撃します。", "民から金を集金します。", "町を開発します。",
                            "兵士を雇います。",       "兵士を訓練します。",     "",
                            "セーブします。"};

}  // namespace

class ActionMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void hintsFollowThePointerAndStay() {
    SaveRecord save = HotSeatSave();
    RunningGame game(save);
    MainForm& form = game.form();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(MenuShown(form));
    QCOMPARE(form.Label1[1]->text(), QString("～<1P>の戦略～"));
    QCOMPARE(form.Message->text(), QString("戦闘開始!!"));

    for (int k : {0, 1, 2, 3, 4, 6}) {
      QTest::mouseMove(form.Command3[k]);
      QCOMPARE(form.Message->text(), kHints[k]);
    }
    // The price of the next weapon is that of the mover, at level 1.
    QTest::mouseMove(form.Command3[5]);
    QCOMPARE(form.Message->text(), QString("新しい武器を開発します。費用: 30"));
    // Leaving the button clears nothing.
    QTest::mouseMove(&form, QPoint(8, 300));
    QCOMPARE(form.Message->text(), QString("新しい武器を開発します。費用: 30"));
    QCOMPARE(form.Game().MoveCount(), 0);
    QCOMPARE(form.Data().GameState, State::Moving);

    // The next weapon's price grows with the level; at level 5 there is none.
    const std::array<QString, 5> expected = {
        "新しい武器を開発します。費用: 30", "新しい武器を開発します。費用: 80",
        "新しい武器を開発します。費用: 150", "新しい武器を開発します。費用: 400",
        "これ以上、開発できません。"};
    for (int level = 1; level <= 5; ++level) {
      form.Data().Districts[0].Weapon = static_cast<i16>(level);
      QTest::mouseMove(form.Command3[4]);
      QTest::mouseMove(form.Command3[5]);
      QCOMPARE(form.Message->text(), expected[level - 1]);
    }
  }

  void everyMoveOverAButtonWritesItsHint() {
    // A refusal replaces the hint; the pointer moving on over the same
    // button brings the hint back, without leaving it first.
    SaveRecord save = HotSeatSave();
    save.Money[0] = 29;
    RunningGame game(save);
    MainForm& form = game.form();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    GraphicButton* develop = form.Command3[5];
    const QPoint spot = develop->rect().center();
    QTest::mouseMove(&form, QPoint(8, 300));  // from the map onto the button
    QTest::mouseMove(develop, spot);
    QCOMPARE(form.Message->text(), QString("新しい武器を開発します。費用: 30"));
    QTest::mouseClick(develop, Qt::LeftButton, {}, spot);
    QCOMPARE(form.Message->text(), QString("お金が足りません。"));
    QVERIFY(MenuShown(form));
    QTest::mouseMove(develop, spot + QPoint(3, 1));
    QCOMPARE(form.Message->text(), QString("新しい武器を開発します。費用: 30"));

    // The same on the weapon panel.
    QTest::mouseMove(form.Command3[0], form.Command3[0]->rect().center());
    QTest::mouseClick(form.Command3[0], Qt::LeftButton, {}, form.Command3[0]->rect().center());
    GraphicButton* fist = form.Command4[1];
    QTest::mouseMove(fist, fist->rect().center());
    QCOMPARE(form.Message->text(), QString("殴ります。（ダメージ = 15 費用 = 0）"));
    form.SetMessage("");
    QTest::mouseMove(fist, fist->rect().center() + QPoint(-3, 1));
    QCOMPARE(form.Message->text(), QString("殴ります。（ダメージ = 15 費用 = 0）"));
  }

  void collectIsCarriedOutAtOnce() {
    RunningGame game(HotSeatSave(), {0.5});
    MainForm& form = game.form();
    Click(form.Command3[1]);
    // 100 + Int(20 × 0.5) + 1
    QCOMPARE(form.Data().Districts[0].Money, 111);
    QCOMPARE(form.Data2[0]->text(), QString("111"));
    QCOMPARE(form.Message->text(), QString("ヒノデの戦略: 民から11の金を集金した。"));
    QCOMPARE(form.Data().GameState, State::AwaitingClick);
    QVERIFY(form.Picture4->isHidden() && form.Picture5->isHidden() && form.Picture6->isHidden());
    QCOMPARE(game.random().Remaining(), 0);
    QVERIFY(!game.random().Overdrawn());
  }

  void weaponDevelopmentChecksLevelThenMoney_data() {
    QTest::addColumn<int>("weapon");
    QTest::addColumn<int>("money");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("level 1 with 30") << 1 << 30 << QString();
    QTest::newRow("level 1 with 29") << 1 << 29 << QString("お金が足りません。");
    QTest::newRow("level 4 with 400") << 4 << 400 << QString();
    QTest::newRow("level 4 with 399") << 4 << 399 << QString("お金が足りません。");
    QTest::newRow("level 5") << 5 << 10000 << QString("これ以上、開発できません。");
  }

  void weaponDevelopmentChecksLevelThenMoney() {
    QFETCH(int, weapon);
    QFETCH(int, money);
    QFETCH(QString, refusal);
    SaveRecord save = HotSeatSave();
    save.Weapon[0] = static_cast<i16>(weapon);
    save.Money[0] = static_cast<i16>(money);
    RunningGame game(save);
    MainForm& form = game.form();
    Click(form.Command3[5]);
    const DistrictRecord& mover = form.Data().Districts[0];
    if (refusal.isEmpty()) {
      QCOMPARE(mover.Weapon, weapon + 1);
      QCOMPARE(mover.Money, 0);
      QCOMPARE(form.Data5[0]->text(), QString::number(weapon + 1));
      QCOMPARE(form.Message->text(), QString("ヒノデの戦略: 新しい武器を開発した。"));
      QCOMPARE(form.Data().GameState, State::AwaitingClick);
      QVERIFY(form.Picture4->isHidden());
    } else {
      // Refused: nothing changes, the richer district 3 of the same faction notwithstanding.
      QCOMPARE(form.Message->text(), refusal);
      QVERIFY(MenuShown(form));
      QCOMPARE(mover.Weapon, weapon);
      QCOMPARE(mover.Money, money);
      QCOMPARE(form.Data().Districts[3].Money, 5000);
      QCOMPARE(form.Data().GameState, State::Moving);
      QCOMPARE(form.Game().MoveCount(), 0);
    }
  }

  void amountPanelOpensWithTheRateAndCancelsBack() {
    RunningGame game(HotSeatSave());
    MainForm& form = game.form();
    const QStringList notes = {"相場: 開発1 - 金10", "相場: 兵士1 - 金1", "相場: 強さ1 - 金10"};
    for (int k = 2; k <= 4; ++k) {
      Click(form.Command3[k]);
      QCOMPARE(form.Message->text(), notes[k - 2]);
      QVERIFY(form.Picture6->isVisible());
      QVERIFY(form.Picture4->isHidden());
      QCOMPARE(form.Data().SelectedCommand, k);
      QCOMPARE(form.Text1->text(), QString("1"));
      QCOMPARE(form.Command5[0]->text(), QString("決定"));
      QCOMPARE(form.Command5[1]->text(), QString("キャンセル"));
      Click(form.Command5[1]);
      QVERIFY(MenuShown(form));
    }
    QCOMPARE(form.Data().GameState, State::Moving);
    QCOMPARE(form.Game().MoveCount(), 0);
  }

  void amountIsReadPricedAndRefused_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("money");
    QTest::addColumn<bool>("byEnter");
    // -1: nothing happens; 0: too expensive; otherwise the amount carried out.
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("report");
    QTest::newRow("empty") << int(Develop) << QString("") << 100 << false << -1 << QString("");
    QTest::newRow("letters") << int(Develop) << QString("abc") << 100 << true << -1 << QString("");
    QTest::newRow("zero") << int(Train) << QString("0") << 100 << false << -1 << QString("");
    QTest::newRow("negative") << int(Hire) << QString("-5") << 100 << false << -1 << QString("");
    QTest::newRow("develop 3277 overflows")
        << int(Develop) << QString("3277") << 10000 << false << -1 << QString("");
    QTest::newRow("train 3277 overflows")
        << int(Train) << QString("3277") << 10000 << true << -1 << QString("");
    QTest::newRow("hire 3277 too dear") << int(Hire) << QString("3277") << 100 << false << 0 << QString("");
    QTest::newRow("hire 3277") << int(Hire) << QString("3277") << 5000 << true << 3277
                               << QString("兵士を3277雇った。");
    QTest::newRow("hire 2.5") << int(Hire) << QString("2.5") << 100 << false << 2
                              << QString("兵士を2雇った。");
    QTest::newRow("hire 3.5") << int(Hire) << QString("3.5") << 100 << true << 4
                              << QString("兵士を4雇った。");
    QTest::newRow("train 10 with 99") << int(Train) << QString("10") << 99 << false << 0 << QString("");
    QTest::newRow("train 10 with 100")
        << int(Train) << QString("10") << 100 << false << 10 << QString("兵士の強さが10あがった。");
    QTest::newRow("develop past the cap")
        << int(Develop) << QString("500") << 5000 << true << 500 << QString("開発が500あがった。");
  }

  void amountIsReadPricedAndRefused() {
    QFETCH(int, action);
    QFETCH(QString, typed);
    QFETCH(int, money);
    QFETCH(bool, byEnter);
    QFETCH(int, outcome);
    QFETCH(QString, report);
    SaveRecord save = HotSeatSave();
    save.Money[0] = static_cast<i16>(money);
    save.Development[0] = 900;
    RunningGame game(save);
    MainForm& form = game.form();
    const DistrictRecord before = form.Data().Districts[0];

    Click(form.Command3[action]);
    const QString rateNote = form.Message->text();
    Type(form, typed);
    if (byEnter) {
      QTest::keyClick(form.Text1, Qt::Key_Return);
    } else {
      Click(form.Command5[0]);
    }

    const DistrictRecord& after = form.Data().Districts[0];
    if (outcome < 1) {
      // Refused: the panel stays open with the typed text, the board as it was.
      QCOMPARE(form.Message->text(), outcome == 0 ? QString("お金が足りません!!") : rateNote);
      QVERIFY(form.Picture6->isVisible());
      QCOMPARE(form.Text1->text(), typed);
      QCOMPARE(after, before);
      QCOMPARE(form.Data().GameState, State::Moving);
      QCOMPARE(form.Game().MoveCount(), 0);
      return;
    }
    QVERIFY(form.Picture6->isHidden() && form.Picture4->isHidden());
    QCOMPARE(form.Data().GameState, State::AwaitingClick);
    QCOMPARE(form.Message->text(), "ヒノデの戦略: " + report);
    const int price = action == Hire ? outcome : 10 * outcome;
    QCOMPARE(after.Money, money - price);
    QCOMPARE(form.Data2[0]->text(), QString::number(money - price));
    if (action == Hire) QCOMPARE(after.Soldiers, before.Soldiers + outcome);
    if (action == Train) QCOMPARE(after.Strength, before.Strength + outcome);
    if (action == Develop) QCOMPARE(after.Development, 1000);  // charged in full, cut at the cap
  }

  void typedAmountStaysFromActionToActionAndMoveToMove() {
    RunningGame game(HotSeatSave());
    MainForm& form = game.form();
    Click(form.Command3[4]);
    Type(form, "2.5");
    QTest::keyClick(form.Text1, Qt::Key_Escape);
    QVERIFY(MenuShown(form));
    Click(form.Command3[3]);
    QCOMPARE(form.Text1->text(), QString("2.5"));
    QTest::keyClick(form.Text1, Qt::Key_Enter);  // the keypad's Enter confirms as well
    QCOMPARE(form.Data().Districts[0].Soldiers, 52);
    ClickBackground(form);
    // District 1 is ヒノデ's as well; the box still reads what was typed.
    QCOMPARE(form.Data().CurrentDistrict, 1);
    QVERIFY(MenuShown(form));
    Click(form.Command3[2]);
    QCOMPARE(form.Text1->text(), QString("2.5"));
  }

  void saveWritesTheSlotAndTheMoveGoesOn() {
    // Continued from slot 2, so the game saves into slot 2.
    RunningGame game(HotSeatSave(), {0.5}, 2);
    MainForm& form = game.form();
    const std::filesystem::path slot = game.folder().Saves() / "Save2.sav";
    // Bytes after the record belong to nobody here, and stay.
    QFile extra(QString::fromStdString(slot.string()));
    QVERIFY(extra.open(QIODevice::Append));
    extra.write("tail");
    extra.close();

    Click(form.Command3[1]);  // 集金: district 0 now has 111 gold
    ClickBackground(form);
    QCOMPARE(form.Data().CurrentDistrict, 1);
    QTest::mouseMove(form.Command3[6]);
    QCOMPARE(form.Message->text(), QString("セーブします。"));
    Click(form.Command3[6]);
    QVERIFY(MenuShown(form));
    QCOMPARE(form.Message->text(), QString("セーブしました。"));
    QCOMPARE(form.Data().GameState, State::Moving);

    SaveRecord expected = HotSeatSave();
    expected.Money[0] = 111;
    expected.CurrentDistrict = 1;
    const QByteArray written = Bytes(slot);
    QCOMPARE(written.size(), 134);
    QVERIFY(written.endsWith("tail"));
    const std::optional<SaveRecord> saved = ReadSaveFile(slot);
    QVERIFY(saved.has_value());
    QCOMPARE(*saved, expected);

    // The move was not used up; what it does next is not in the save.
    Click(form.Command3[3]);
    Type(form, "5");
    Click(form.Command5[0]);
    QCOMPARE(form.Data().Districts[1].Soldiers, 55);
    QCOMPARE(*ReadSaveFile(slot), expected);
    QCOMPARE(FilesIn(game.folder().Saves()), QStringList({"Save2.sav"}));
  }

  void failedSaveSaysSoAndKeepsTheOldSlot() {
    RunningGame game(HotSeatSave(), {}, 1);
    MainForm& form = game.form();
    const std::filesystem::path slot = game.folder().Saves() / "Save1.sav";
    form.Data().Districts[0].Money = 77;  // the game has moved on since the slot was written
    const QByteArray old = Bytes(slot);
    QCOMPARE(old.size(), 130);

    // The writing stops after every possible number of bytes, as a full disk
    // or a crash would stop it: the slot is the old one every time.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit original{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &original), 0);
    for (rlim_t cut = 0; cut < kSaveRecordSize; ++cut) {
      form.SetMessage("");
      rlimit limited = original;
      limited.rlim_cur = cut;
      QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
      Click(form.Command3[6]);
      QCOMPARE(setrlimit(RLIMIT_FSIZE, &original), 0);
      QVERIFY2(form.Message->text().startsWith("セーブできませんでした: "), qPrintable(form.Message->text()));
      QCOMPARE(Bytes(slot), old);
      QCOMPARE(FilesIn(game.folder().Saves()), QStringList({"Save1.sav"}));
      QVERIFY(MenuShown(form));
    }
    std::signal(SIGXFSZ, SIG_DFL);

    // A save folder that cannot be made is said so as well.
    const std::filesystem::path saves = game.folder().Saves();
    std::filesystem::rename(saves, game.folder().Path() / "Save.old");
    QFile blocker(QString::fromStdString(saves.string()));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Click(form.Command3[6]);
    QVERIFY2(form.Message->text().startsWith("セーブできませんでした: "), qPrintable(form.Message->text()));
    QVERIFY(form.Message->text().contains("Save"));
    QVERIFY(MenuShown(form));
    std::filesystem::remove(saves);
    std::filesystem::rename(game.folder().Path() / "Save.old", saves);

    // With room again the save goes through.
    Click(form.Command3[6]);
    QCOMPARE(form.Message->text(), QString("セーブしました。"));
    QCOMPARE(ReadSaveFile(slot)->Money[0], 77);
    QCOMPARE(form.Data().GameState, State::Moving);
    QCOMPARE(form.Game().MoveCount(), 0);
  }
};

QTEST_MAIN(ActionMenuTest)
#include "ActionMenuTest.moc"
