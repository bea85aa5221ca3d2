// The installed game as a player meets it: started from the staged bin/
// (YUUNAGI_INSTALLED_BIN) in a folder of the player's own, it shows its title
// with the installed pictures and music, lists the installed scenarios with
// the player's own, and saves a hot-seat game in the player's folder.
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "commands/ActionPanel.h"
#include "core/MessagePanel.h"
#include "core/StartUp.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"

using namespace yuunagi;
namespace fs = std::filesystem;

namespace {

// A left click in the middle of the window's control of that name.
void Click(MainForm& form, const char* name) {
  QWidget* widget = form.findChild<QWidget*>(name);
  QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

}  // namespace

class InstalledGameTest : public QObject {
  Q_OBJECT

 private slots:
  void hotSeatGameIsSavedInThePlayersFolder() {
    const fs::path bin = qEnvironmentVariable("YUUNAGI_INSTALLED_BIN").toStdString();
    QVERIFY2(!bin.empty(), "YUUNAGI_INSTALLED_BIN names the installed bin/");
    // The player's own scenario has the name of one of the game's: it is the one played.
    ScenarioRecord own;
    own.StartTurn = 1;
    own.Music = "決戦の町";
    own.StartMoney = own.StartSoldiers = own.StartStrength = own.StartDevelopment = {50, 50, 50, 50, 50, 50};
    own.StartWeapon = {1, 1, 1, 1, 1, 1};
    own.Description = "自分で作った三つ巴。";
    own.StartOwner = {0, 1, 2, 0, 1, 2};
    const fs::path ownScenarios = UserDataFolder() / "Scenario";
    fs::create_directories(ownScenarios);
    QVERIFY(WriteScenarioFile(ownScenarios / "三つ巴の港.dat", own));
    QVERIFY(WriteScenarioFile(ownScenarios / "自作の町.dat", own));

    WindowOptions options;
    options.folders = FindGameFolders(bin);
    QCOMPARE(options.folders->data, (bin / "../share/yuunagi").lexically_normal());
    options.random = std::make_unique<SeededRandom>(7);
    int status = -1;
    options.exitProcess = [&status](int code) { status = code; };
    options.music.soundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    options.music.liveOutput = false;
    const std::unique_ptr<MainForm> started = StartUp(std::move(options));
    QVERIFY(started);
    MainForm& form = *started;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.TitleShown());
    QVERIFY(form.Music().WaitUntilLoaded(std::chrono::seconds(30)));
    QVERIFY(form.Music().IsPlaying());  // the opening song of the installed Music/

    Click(form, "titleMenu.newGame");
    Click(form, "saveSlots.slot1");
    Click(form, "saveSlots.confirm");
    auto* list = form.findChild<QListWidget*>("scenarioList");
    QTRY_COMPARE(list->count(), 4);  // the list is made in the background
    QStringList names;
    for (int row = 0; row < list->count(); ++row) names << list->item(row)->text();
    QCOMPARE(names, QStringList({"ユウナギの夕暮れ", "三つ巴の港", "孤立のヒノデ", "自作の町"}));
    list->setCurrentRow(1);
    QCOMPARE(form.MessageLine().Text(), QString("自分で作った三つ巴。"));

    Click(form, "scenarioList.confirm");
    QTimer answer;  // はい to the start question
    QObject::connect(&answer, &QTimer::timeout, [&form] {
      if (QMessageBox* box = form.OpenMessageBox()) box->button(QMessageBox::Yes)->click();
    });
    answer.start(10);
    Click(form, "factionPicker.faction0");
    Click(form, "factionPicker.faction1");
    Click(form, "factionPicker.confirm");
    QTRY_VERIFY(form.ActionMenuPanel().isVisible());
    Click(form, "actionMenu.save");
    QCOMPARE(form.MessageLine().Text(), QString("セーブしました。"));
    const std::optional<SaveRecord> save = ReadSaveFile(UserDataFolder() / "Save" / "Save1.sav");
    QVERIFY(save);
    QCOMPARE(save->PlayerCount, 2);
    QCOMPARE(save->ScenarioName, std::string("三つ巴の港"));
    QCOMPARE(status, -1);
  }
};

QTEST_MAIN(InstalledGameTest)
#include "InstalledGameTest.moc"
