// The real window from start-up to a game's end, driven as a player drives
// it: the layout, pictures and fonts, the speed bar, start-up refused for a
// bad picture, the title, slot, scenario and faction screens, every command
// with its hint and refusal, the clicks on the board by state and button,
// requests out of their phase that change nothing, a spectator game to its
// end, and a game of two players at one screen saved and continued.
#include <QAbstractButton>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <fstream>

#include "commands/FactionPicker.h"
#include "core/StatusPanel.h"
#include "files/Autosave.h"
#include "files/Cp932.h"
#include "files/DataFolders.h"
#include "files/ScenarioFile.h"
#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;
using namespace yuunagi::test;

namespace {

using Files = std::function<void(AppFolder&)>;
struct Case {
  const char* name;
  Files files;
  const char* script;
  QStringList startAnswers = {};  // how the boxes of start-up are answered
};

// A playable scenario: district i held by faction owners[i], modest numbers.
ScenarioRecord Scenario(std::array<i16, 6> owners, std::string description = "六つの勢力が町を争う。") {
  ScenarioRecord s;
  s.StartTurn = 1;
  s.Music = "決戦の町";
  s.Description = std::move(description);
  s.DifficultyText = {"行0", "行1", "行2", "行3", "行4", "行5"};
  s.StartOwner = owners;
  s.StartMoney = s.StartSoldiers = {100, 100, 100, 100, 100, 100};
  s.StartStrength = s.StartDevelopment = {10, 10, 10, 10, 10, 10};
  s.StartWeapon = {1, 1, 1, 1, 1, 1};
  return s;
}

// The one scenario 初陣, with the start table `owners`.
Files OneScenario(std::array<i16, 6> owners) {
  return [owners](AppFolder& f) { f.WriteScenario("初陣", Scenario(owners)); };
}

// Save slots 1.. hold games of these names and turns; `change` alters the last.
Files Saves(std::vector<std::pair<std::string, i16>> games, std::function<void(SaveRecord&)> change = {}) {
  return [=](AppFolder& f) {
    for (int slot = 1; slot <= static_cast<int>(games.size()); ++slot) {
      SaveRecord s = HotSeatSave();
      std::tie(s.ScenarioName, s.TurnNumber) = games[slot - 1];
      if (change && slot == static_cast<int>(games.size())) change(s);
      f.WriteSave(slot, s);
    }
  };
}

// The picture `file` missing, or in its place: garbage, a named pipe, a link
// to a device or to another picture, or a folder.
Files Spoilt(const QString& file, const QString& by) {
  return [=](AppFolder& f) {
    const QString path = QString::fromStdString((f / "Picture").string()) + "/" + file;
    QFile::remove(path);
    QFile garbage(path);
    if (by == "garbage" && garbage.open(QIODevice::WriteOnly)) garbage.write("BM this is no picture");
    if (by == "pipe") mkfifo(QFile::encodeName(path), 0600);
    if (by.startsWith("/")) QFile::link(by, path);
    if (by == "folder") QDir().mkdir(path);
  };
}

// HotSeatSave() in slot 0 ("play" continues it), with the mover's money and
// weapon; `computer`: district 1 is ハナミ's, played by the computer ("pause").
Files Game(i16 money = 100, i16 weapon = 1, bool computer = false) {
  return [=](AppFolder& f) {
    SaveRecord s = HotSeatSave();
    s.Money[0] = money;
    s.Weapon[0] = weapon;
    if (computer) s.Owner[1] = 2;
    f.WriteSave(0, s);
  };
}

// Both layouts, one after the other.
Files Both(Files first, Files second) {
  return [=](AppFolder& f) {
    first(f);
    second(f);
  };
}

// An autosave of HotSeatSave() at turn 4, district 2 (ソラノ, 2P) to move; `change` alters it.
Files Autosaved(std::function<void(SaveRecord&)> change = {}) {
  return [=](AppFolder& f) {
    SaveRecord s = HotSeatSave();
    s.TurnNumber = 4;
    s.CurrentDistrict = 2;
    if (change) change(s);
    WriteAutosave(f / "Save", s);
  };
}

// ヒノデ holds all but district 5, which falls to the first blow.
void LastDistrictWeak(SaveRecord& s) {
  s.Owner = {0, 0, 0, 0, 0, 1};
  s.Soldiers[5] = 1;
  s.CurrentDistrict = 0;
}

// A spectator game that ヒノデ wins within a few turns.
void QuickEnd(AppFolder& f) {
  ScenarioRecord s = Scenario({0, 0, 0, 0, 0, 1});
  s.StartSoldiers = {500, 500, 500, 500, 500, 300};
  s.StartStrength = {30, 30, 30, 30, 30, 5};
  f.WriteScenario("早い決着", s);
}

const Case kCases[] = {
    // ---- Start-up and the screens before a game ----
    {"title screen", OneScenario({0, 1, 2, 3, 4, 5}),
     "shown=speedBar title titleMenu; caption=ユウナギ町争奪戦; song=オープニング; state=0; weapons=; "
     "richlabels=0; exit=-1; closed"},
    {"slots read from the save files; cancel goes back to the title",
     Saves({{"初級", 12}, {"初級", 0}, {"ABCDEFGHIJKLMNOP", 3}}),
     "titleMenu.newGame; shown=saveSlots title; "
     "slots=*データなし|初級 Turn 12|データなし|ABCDEFGHIJKLMN Turn 3; song=設定; "
     "saves=Save1.sav Save2.sav Save3.sav; saveSlots.slot2; slot=2; saveSlots.cancel; shown=speedBar title "
     "titleMenu; "
     "song=オープニング; titleMenu.continue; slot=2; slots~|*データなし|; shown=saveSlots title; closed"},
    {"an empty slot, one at turn 0 or an unplayable one is not continued",
     Saves({{"初級", 0}, {"初級", 4}}, [](SaveRecord& s) { s.CurrentDistrict = 9; }),
     "titleMenu.continue; saveSlots.confirm; boxes=セーブデータがありません。; saveSlots.slot1; "
     "saveSlots.confirm; "
     "boxes=セーブデータがありません。|セーブデータがありません。; saveSlots.slot2; saveSlots.confirm; "
     "boxes~CurrentDistrict; oddboxes=0; shown=saveSlots title; state=0; saves=Save1.sav Save2.sav; "
     "song=設定; saveSlots.cancel; shown=speedBar title titleMenu"},
    {"a continued game starts with the saved mover, values limited, name cut to 14",
     Saves({{"ﾐﾅﾄﾏﾁﾉｺｳﾎﾞｳｾﾝﾀﾞｲﾆﾌﾞ", 9}},
           [](SaveRecord& s) {
             s.CurrentDistrict = 3;
             s.Money[5] = 20000;
             s.Strength[5] = -5;
             s.Weapon[5] = 7;
           }),
     "titleMenu.continue; slots~|ﾐﾅﾄﾏﾁﾉｺｳﾎﾞｳｾﾝﾀ Turn 9|; saveSlots.slot1; saveSlots.confirm; state=1; "
     "mover=3; highlight=3; "
     "scenario=ﾐﾅﾄﾏﾁﾉｺｳﾎﾞｳｾﾝﾀ; caption=ユウナギ町争奪戦～ﾐﾅﾄﾏﾁﾉｺｳﾎﾞｳｾﾝﾀ～; turn=Turn 9; menu=～<1P>の戦略～; "
     "strategy=ヒノデの戦略; song=港町の攻防; shown=game actionMenu; panel2=ソラノ 100 50 10 1 10; "
     "panel5=ソラノ 10000 50 -5 5 10; pending=0; moves=0; closed"},
    {"no scenario file ends the program", [](AppFolder&) {},
     "titleMenu.newGame; saveSlots.confirm; boxes=シナリオファイルがありません。; boxsongs=; oddboxes=0; "
     "exit=0"},
    {"no scenario folder ends the program", [](AppFolder& f) { std::filesystem::remove(f / "Scenario"); },
     "titleMenu.newGame; saveSlots.confirm; boxes=シナリオファイルがありません。; exit=0"},
    {"the scenario list reads and describes each entry",
     [](AppFolder& f) {
       f.WriteScenario("A初級", Scenario({0, 1, 2, 3, 4, 5}, "最初のシナリオ。"));
       f.WriteScenario("B上級", Scenario({0, 1, 2, 3, 4, 5}, std::string(200, 'x')));
       // A file copied from Windows keeps its name in code page 932.
       WriteScenarioFile(f / "Scenario" / (Utf8ToCp932("初級") + ".dat"),
                         Scenario({1, 1, 1, 3, 3, 3}, "古い名前のシナリオ。"));
     },
     "titleMenu.newGame; saveSlots.confirm; shown=messagePanel scenarioList scenarioList.confirm title; "
     "list=*A初級|B上級|初級; "
     "message=最初のシナリオ。; scenario=A初級; song=設定; row 1; scenario=B上級; messagesize=180; row 2; "
     "scenario=初級; message=古い名前のシナリオ。; scenarioList.confirm; shown=factionPicker messagePanel "
     "title; "
     "factions=13; seed 1; factionPicker.confirm; caption=ユウナギ町争奪戦～初級～; state=1"},
    {"an unplayable or vanished scenario is explained and not started",
     [](AppFolder& f) {
       f.WriteScenario("壊れた", Scenario({0, 1, 2, 9, 4, 5}));
       f.WriteScenario("正しい", Scenario({0, 1, 2, 3, 4, 5}));
     },
     "titleMenu.newGame; saveSlots.confirm; list=*壊れた|正しい; message~StartOwner(3); "
     "scenarioList.confirm; "
     "shown=messagePanel scenarioList scenarioList.confirm title; message~StartOwner(3); remove "
     "Scenario/正しい.dat; row 1; "
     "message~正しい.dat; message~ありません; scenarioList.confirm; shown=messagePanel scenarioList "
     "scenarioList.confirm title"},
    {"a scenario file shorter than 414 bytes is refused, a longer one says its size",
     [](AppFolder& f) {
       const std::string bytes = EncodeScenario(Scenario({0, 1, 2, 3, 4, 5}));
       std::ofstream(f / "Scenario" / "短い.dat", std::ios::binary) << bytes.substr(1);
       std::ofstream(f / "Scenario" / "長い.dat", std::ios::binary) << bytes + "x";
     },
     "titleMenu.newGame; saveSlots.confirm; list=*短い|長い; message~は 413 "
     "バイトしかなく、シナリオファイルに必要な; "
     "scenarioList.confirm; shown=messagePanel scenarioList scenarioList.confirm title; row 1; "
     "message~長い.dat」 は 415 バイトあり、シナリオファイルの 414 バイトより長いので; "
     "message~\n六つの勢力が町を争う。; "
     "scenarioList.confirm; shown=factionPicker messagePanel title"},
    {"only the start table's factions are offered; the last pick asks by itself",
     OneScenario({0, 0, 2, 2, 4, 4}),
     "new game; shown=factionPicker messagePanel title; heading=<1P>選択; factions=024; "
     "players=0,0,0,0,0,0/0; "
     "message=六つの勢力が町を争う。; hover factionPicker.faction2; message=～ハナミ～ 難易度:行2; hover "
     "factionPicker.confirm; "
     "message=ゲームを開始します。勢力を選んでいない場合は観戦モードとなります。; answer No; "
     "factionPicker.faction4; "
     "heading=<2P>選択; factionPicker.faction0; boxes=; factionPicker.faction2; "
     "boxes=ゲームをはじめます。\nよろしいですか？; "
     "box.factionPicker.heading=; factions=024; heading=<1P>選択; players=0,0,0,0,0,0/0; "
     "factionPicker.faction2; factionPicker.faction4; "
     "factionPicker.faction0; players=3,0,1,0,2,0/3; state=1; mover=0; menu=～<3P>の戦略～; "
     "strategy=ヒノデの戦略; "
     "song=決戦の町; turn=Turn 1; shown=game actionMenu; closed"},
    {"players are numbered in pick order; No clears the picks", OneScenario({1, 0, 2, 3, 4, 5}),
     "new game; factions=012345; factionPicker.faction3; factionPicker.faction0; players=2,0,0,1,0,0/2; "
     "heading=<3P>選択; "
     "factions=1245; answer No; factionPicker.confirm; boxes=ゲームをはじめます。\nよろしいですか？; "
     "players=0,0,0,0,0,0/0; factions=012345; heading=<1P>選択; answer No; factionPicker.confirm; "
     "players=0,0,0,0,0,0/0; state=0; factionPicker.faction5; factionPicker.faction4; "
     "factionPicker.faction3; factionPicker.faction2; factionPicker.faction1; "
     "heading=<6P>選択; factions=0; answer No; factionPicker.faction0; factions=012345; "
     "shown=factionPicker messagePanel title; closed"},
    {"scenario texts are shown as they are, never as markup",
     [](AppFolder& f) {
       ScenarioRecord s = Scenario({0, 1, 2, 3, 4, 5}, "<b>太字</b><img src=\"/dev/zero\">");
       s.DifficultyText[2] = "<i>x</i>";
       f.WriteScenario("初陣", s);
     },
     "titleMenu.newGame; saveSlots.confirm; message=<b>太字</b><img src=\"/dev/zero\">; "
     "scenarioList.confirm; hover factionPicker.faction2; "
     "message=～ハナミ～ 難易度:<i>x</i>; richlabels=0; answer No; factionPicker.confirm; oddboxes=0"},
    {"nobody picked: a spectator game, paced by the speed bar, closed in a pause",
     OneScenario({0, 2, 2, 3, 4, 5}),
     "seed 5; scroll 100; titleMenu.newGame; saveSlots.confirm; scenarioList.confirm; factionPicker.confirm; "
     "players=0,0,0,0,0,0/10; state=1; "
     "shown=game; turn=Turn 1; song=決戦の町; mover=0; highlight=0; pending=1; pause=100; moves=1; "
     "scroll 2000; engine next; mover=1; highlight=1; strategy=ハナミの戦略; moves=2; pause=2000; close; "
     "exit=0; pending=0; song=; saves=; boxes=ゲームをはじめます。\nよろしいですか？"},
    {"a spectator game to its end", QuickEnd,
     "seed 7; new game; speed 0; factionPicker.confirm; wait exit=0; "
     "boxes=ゲームをはじめます。\nよろしいですか？|ヒノデはユウナギ町を制圧した。; oddboxes=0; "
     "box.statusPanel5.owner=ヒノデ; boxsongs=設定|; owners=000000; pending=0"},
    {"picture missing", Spoilt("Etc.bmp", ""), "exit=1; boxes~Etc.bmp; boxes~ありません; oddboxes=0"},
    {"no picture inside", Spoilt("No0.bmp", "garbage"), "exit=1; boxes~No0.bmp; boxes~読み込めません"},
    {"named pipe", Spoilt("Etc.bmp", "pipe"), "exit=1; boxes~読み込めません"},
    {"link to a device", Spoilt("ユウナギ町.gif", "/dev/zero"), "exit=1; boxes~読み込めません"},
    {"folder", Spoilt("No3.bmp", "folder"), "exit=1; boxes~No3.bmp; boxes~読み込めません"},
    {"link to a picture", Spoilt("Etc.bmp", YUUNAGI_PICTURE_DIR "/No1.bmp"), "exit=-1; state=0"},
    // ---- A game: the commands, their hints and refusals ----
    {"hints follow the pointer and stay", Game(100, 5),
     "play; hover actionMenu.attack; message=敵の勢力を攻撃します。; hover actionMenu.collect; "
     "message=民から金を集金します。; hover actionMenu.develop; message=町を開発します。; hover "
     "actionMenu.hire; "
     "message=兵士を雇います。; hover actionMenu.train; message=兵士を訓練します。; hover actionMenu.save; "
     "message=セーブします。; hover actionMenu.developWeapon; message=これ以上、開発できません。; hover "
     "background; "
     "message=これ以上、開発できません。; actionMenu.developWeapon; shown=game actionMenu; "
     "actionMenu.attack; weapons=012345; "
     "hover weaponMenu.weapon1; message=殴ります。（ダメージ = 15 費用 = 0）; hover weaponMenu.weapon2; "
     "message=剣で攻撃します。（ダメージ = 22 費用 = 5）; hover weaponMenu.weapon5; "
     "message=核ミサイルで攻撃します。（ダメージ = 150 費用 = 100）; hover weaponMenu.cancel; "
     "message=核ミサイルで攻撃します。（ダメージ = 150 費用 = 100）; weaponMenu.cancel; shown=game "
     "actionMenu; "
     "moves=0"},
    {"武器開発 refused at 29 gold; the hint comes back when the pointer moves", Game(29),
     "play; hover actionMenu.developWeapon; message=新しい武器を開発します。費用: 30; "
     "actionMenu.developWeapon; "
     "message=お金が足りません。; shown=game actionMenu; hover actionMenu.developWeapon; "
     "message=新しい武器を開発します。費用: 30; state=1; moves=0"},
    {"武器開発 at 30 gold", Game(30),
     "play; actionMenu.developWeapon; message=ヒノデの戦略: 新しい武器を開発した。; panel0=ヒノデ 0 50 15 2 "
     "20; state=3; "
     "shown=game"},
    {"a weapon dearer than the money is refused", Game(44, 4),
     "play; actionMenu.attack; weapons=01234; weaponMenu.weapon4; message=金が足りません。; shown=game "
     "weaponMenu; state=1; "
     "weaponMenu.weapon3; state=2; message=攻撃対象をクリックしてください!!(右クリック キャンセル); "
     "shown=game"},
    {"amounts ignored, refused, kept from action to action", Game(99),
     "play; actionMenu.develop; message=相場: 開発1 - 金10; shown=game amountEntry; text=1; key Escape; "
     "shown=game actionMenu; actionMenu.train; type abc; key Return; type 0; amountEntry.confirm; type 3277; "
     "amountEntry.confirm; "
     "message=相場: 強さ1 - 金10; type 10; amountEntry.confirm; message=お金が足りません!!; shown=game "
     "amountEntry; "
     "text=10; moves=0; amountEntry.cancel; actionMenu.hire; message=相場: 兵士1 - 金1; text=10; type 2.5; "
     "key Return; "
     "message=ヒノデの戦略: 兵士を2雇った。; panel0=ヒノデ 97 52 15 1 20; state=3; shown=game"},
    {"集金 at once", Game(),
     "play; draw 0.5; actionMenu.collect; message=ヒノデの戦略: 民から11の金を集金した。; "
     "panel0=ヒノデ 111 50 15 1 20; draws=1; state=3; shown=game"},
    {"saving keeps the move", Game(),
     "play; draw 0.5; actionMenu.collect; left background; mover=1; actionMenu.save; "
     "message=セーブしました。; "
     "shown=game actionMenu; state=1; actionMenu.hire; type 5; amountEntry.confirm; panel1=ヒノデ 95 55 10 1 "
     "10"},
    {"a failed save says so", Game(),
     "play; block Save; actionMenu.save; message~セーブできませんでした: ; shown=game actionMenu; state=1; "
     "moves=0"},
    // ---- Clicks on the board by state and button ----
    {"menu open: the board takes no click", Game(),
     "play; snap; left statusPanel2; right statusPanel2; middle statusPanel2; left background; "
     "right background; same"},
    {"targeting: a left click on an enemy panel attacks, a right click cancels", Game(),
     "play; draw 0.9; actionMenu.attack; weaponMenu.weapon1; snap; left statusPanel0; left statusPanel1; "
     "left background; "
     "middle statusPanel2; left messagePanel; right turnPanel; right messagePanel.text; same; right "
     "statusPanel2; "
     "state=1; shown=game weaponMenu; weaponMenu.weapon1; right background; state=1; weaponMenu.weapon1; "
     "left statusPanel2.soldiers; "
     "state=3; panel2=ソラノ 100 35 10 1 10; message=ヒノデの戦略: ソラノを殴った。15のダメージ!!"},
    {"after acting: the board or the background, any button, moves on once", Game(),
     "play; draw 0.5; actionMenu.collect; snap; left messagePanel; left turnPanel; same; middle "
     "statusPanel4; mover=1; "
     "state=1; highlight=1; menu=～<1P>の戦略～; snap; left background; same; draw 0.5; actionMenu.collect; "
     "right background; mover=2; menu=～<2P>の戦略～; strategy=ソラノの戦略"},
    // ---- Requests out of their phase change nothing ----
    {"集金 again through its hidden button", Game(),
     "play; draw 0.5; actionMenu.collect; snap; hidden actionMenu.collect; hidden actionMenu.developWeapon; "
     "same"},
    {"集金 again asked of the engine", Game(),
     "play; draw 0.5; actionMenu.collect; snap; engine collect; refusal=1; same"},
    {"the other menus' hidden buttons after acting", Game(),
     "play; draw 0.5; actionMenu.collect; snap; hidden weaponMenu.weapon1; hidden amountEntry.confirm; key "
     "1; same"},
    {"the next move asked during a human's choice", Game(), "play; snap; engine next; refusal=1; same"},
    {"another action asked of the engine while targeting", Game(),
     "play; actionMenu.attack; weaponMenu.weapon1; snap; engine collect; refusal=1; same"},
    {"a human's action during a computer's pause", Game(100, 1, true),
     "pause; engine collect; refusal=1; same; the pause ends"},
    {"the computer acting again in its pause", Game(100, 1, true),
     "pause; computer collect; refusal=1; same; the pause ends"},
    {"the click after a human's action, during a computer's pause", Game(100, 1, true),
     "pause; engine continue; refusal=1; same; the pause ends"},
    {"clicks and hidden buttons during a computer's pause", Game(100, 1, true),
     "pause; left statusPanel0; right statusPanel2; middle background; left background; hidden "
     "actionMenu.collect; "
     "hidden weaponMenu.weapon1; same; the pause ends"},
    // ---- Keys, in every phase ----
    {"Space after 集金 goes on, never collects again", Game(),
     "play; draw 0.5; actionMenu.collect; cue=1; press Space; draws=1; mover=1; cue=0; panel0=ヒノデ 111 50 "
     "15 1 "
     "20"},
    {"Return after 武器開発 goes on, never develops again", Game(100),
     "play; actionMenu.developWeapon; press Return; mover=1; panel0=ヒノデ 70 50 15 2 20"},
    {"keys pick a weapon and a target, Escape calls the pick off", Game(),
     "play; actionMenu.attack; focus=weaponMenu.weapon1; press Return; state=2; press Escape; state=1; "
     "shown=game weaponMenu; press Return; snap; press 1; press 2; press 4; press 7; same; draw 0.9; "
     "press 3; state=3; panel2=ソラノ 100 35 10 1 10; cue=1; press 3; press Escape; state=3; "
     "press Return; mover=1"},
    {"a Return queued before a computer's move never answers its box, a repeat neither",
     [](AppFolder& f) {
       SaveRecord s = HotSeatSave();
       s.Owner = {0, 2, 5, 1, 1, 1};
       s.Soldiers[2] = 1;
       f.WriteSave(0, s);
     },
     "play; draw 0.5; actionMenu.collect; draw 0.4 0.5 0.5 0.5 0.5; answer Key; queue Return; engine "
     "continue; "
     "wait keyed=held; boxes=ミオツは滅亡した。; owners=022111; mover=1"},
    {"keys during a computer's pause change nothing", Game(100, 1, true),
     "pause; press Space; press Return; press 2; press Escape; press Tab; same; the pause ends"},
    {"a hot-seat move to a save with keys alone", Game(),
     "speed 60000; press Down; focus=titleMenu.continue; press Return; focus=saveSlots.slot0; press Return; "
     "shown=game actionMenu; focus=actionMenu.attack; press Down; focus=actionMenu.collect; draw 0.5; press "
     "Return; "
     "press Space; mover=1; focus=actionMenu.attack; press Up; focus=actionMenu.save; "
     "message=セーブします。; "
     "press Return; message=セーブしました。; state=1"},
    {"a new game with keys alone: slot, list, factions, はい", OneScenario({0, 1, 2, 3, 4, 5}),
     "speed 60000; press Return; press Return; focus=scenarioList; press Return; shown=factionPicker "
     "messagePanel "
     "title; "
     "focus=factionPicker.faction0; press Return; heading=<2P>選択; press Up; focus=factionPicker.confirm; "
     "press Return; "
     "boxbuttons~はい; boxbuttons~いいえ; state=1; menu=～<1P>の戦略～"},
    // ---- Beyond the game's own controls, by key: zoom, music, the war record ----
    {"zoom 100 150 200 %, a click at 200 % reaches its control", OneScenario({0, 1, 2, 3, 4, 5}),
     "size=516x438; press Ctrl+=; size=774x657; press Ctrl++; size=1032x876; press Ctrl+=; size=1032x876; "
     "left titleMenu.newGame; shown=saveSlots title; left saveSlots.cancel; press Ctrl+-; size=774x657; "
     "press Ctrl+0; "
     "size=516x438"},
    {"M stops the song and starts it again; L shows the war record", OneScenario({0, 1, 2, 3, 4, 5}),
     "song=オープニング; press M; music=0; song=; left titleMenu.newGame; song=; press M; music=1; "
     "song=設定; "
     "press L; record=1; press L; record=0"},
    {"closing the window while a message box is open ends the game", OneScenario({0, 1, 2, 3, 4, 5}),
     "answer Close; new game; factionPicker.confirm; boxes~ゲームをはじめます; exit=0; song="},
    // ---- Keeping the game: the autosave and the questions before anything is lost ----
    {"closing a hot-seat game asks; はい saves into the slot and ends", Game(),
     "play; draw 0.5; actionMenu.collect; close; boxes=セーブしてから終了しますか？; "
     "boxbuttons~キャンセル; oddboxes=0; exit=0; song=; "
     "kept=Autosave.sav:港町 Turn 3@1 Save0.sav:港町 Turn 3@1"},
    {"closing: いいえ ends, the autosave keeps the game", Game(),
     "play; draw 0.5; actionMenu.collect; answer No; close; exit=0; "
     "kept=Autosave.sav:港町 Turn 3@1 Save0.sav:港町 Turn 3@0"},
    {"closing: キャンセル plays on, the computer's pause too", Game(100, 1, true),
     "pause; answer Cancel; close; boxes=セーブしてから終了しますか？; exit=-1; pending=1; pause=60000; "
     "kept=Save0.sav:港町 Turn 3@0; shown=game; the pause ends"},
    {"an autosave after every turn, none before", Game(),
     "play; collect; collect; collect; collect; collect; saves=Save0.sav; collect; turn=Turn 4; mover=0; "
     "kept=Autosave.sav:港町 Turn 4@0 Save0.sav:港町 Turn 3@0; shown=game actionMenu; "
     "saves=Autosave.rec Autosave.sav Save0.sav"},
    {"a continued game whose war record is damaged (or missing) starts its record there, saying so",
     Both(Game(), [](AppFolder& f) { std::filesystem::create_directory(f / "Save/Save0.rec"); }),
     "play; recordlines~Turn 3  戦況記録はこの手から始まります（前の記録を読めませんでした）。|Turn 3  "
     "戦闘開始!!|"},
    {"an autosave that cannot be written is said once; play goes on; a failed はい stays", Game(),
     "play; block Save; collect; collect; collect; collect; collect; collect; "
     "message~自動セーブできませんでした: ; turn=Turn 4; shown=game actionMenu; close; exit=-1; "
     "message~セーブできませんでした: ; state=1; answer No; close; exit=0"},
    {"at the next start はい goes on with the autosaved game", Autosaved(),
     "boxes=前回のゲーム「港町 Turn 4」が残っています。\n続きから遊びますか？; oddboxes=0; state=1; "
     "mover=2; highlight=2; turn=Turn 4; menu=～<2P>の戦略～; song=港町の攻防; shown=game actionMenu; "
     "caption=ユウナギ町争奪戦～港町～; players=1,2,0,0,0,0/2; panel0=ヒノデ 100 50 15 1 20; "
     "kept=Autosave.sav:港町 Turn 4@2"},
    {"いいえ keeps the autosave; a spectator game leaves it alone",
     Both(Autosaved(), QuickEnd),
     "boxes~続きから遊びますか; state=0; shown=speedBar title titleMenu; song=オープニング; seed 7; new "
     "game; "
     "speed 0; factionPicker.confirm; wait exit=0; boxes~制圧した; kept=Autosave.sav:港町 Turn 4@2",
     {"No"}},
    {"the autosave goes when the game is won", Autosaved(LastDistrictWeak),
     "mover=0; draw 0.9; actionMenu.attack; weaponMenu.weapon1; left statusPanel5; wait exit=0; "
     "boxes~ヒノデはユウナギ町を制圧した。; saves="},
    {"an autosave cut short is not offered",
     Both(Autosaved(), [](AppFolder& f) { std::filesystem::resize_file(f / "Save/Autosave.sav", 129); }),
     "boxes=; state=0; shown=speedBar title titleMenu"},
    {"はじめから over a saved game asks; いいえ goes back to the slots",
     Both(Saves({{"初級", 12}}), OneScenario({0, 1, 2, 3, 4, 5})),
     "titleMenu.newGame; saveSlots.slot1; answer No; saveSlots.confirm; "
     "boxes=このセーブファイルには「初級 Turn 12」が入っています。\n新しいゲームで上書きしますか？; "
     "shown=saveSlots title; saveSlots.slot0; saveSlots.confirm; boxes~上書き; saveSlots.slot1; "
     "saveSlots.confirm; shown=messagePanel scenarioList scenarioList.confirm title; slot=1"},
};

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // The player's settings of these windows live in a folder of the test's.
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    // A saved game continued from slot 0, with a long pause so that only the script ends one.
    Window::macros["play"] =
        "speed 60000; titleMenu.continue; saveSlots.confirm; mover=0; shown=game actionMenu";
    // After 1P's 集金 and the click, ハナミ's district 1 collects too, and
    // the game pauses before ソラノ's (2P) move; it ends in that one move.
    Window::macros["pause"] =
        "play; draw 0.5; actionMenu.collect; draw 0 0 0 0 0 0 0 0 0 0 0.1 0.5; left background; mover=1; "
        "pending=1; "
        "message=ハナミの戦略: 民から6の金を集金した。; shown=game; snap";
    Window::macros["the pause ends"] =
        "engine next; refusal=0; mover=2; menu=～<2P>の戦略～; engine next; refusal=1";
    Window::macros["new game"] = "titleMenu.newGame; saveSlots.confirm; scenarioList.confirm";
    Window::macros["closed"] = "close; exit=0; song=";
    Window::macros["collect"] = "draw 0.5; actionMenu.collect; left background";
  }

  void scripts_data() {
    QTest::addColumn<int>("row");
    for (int row = 0; row < static_cast<int>(std::size(kCases)); ++row)
      QTest::newRow(kCases[row].name) << row;
  }

  void scripts() {
    QFETCH(int, row);
    Window window(kCases[row].files, false, kCases[row].startAnswers);
    RUN(window, kCases[row].script);
  }

  // Thousands of scenarios come in batches: the same list, in the same order,
  // as the folder's listing; closing the window meanwhile stops it.
  void manyScenariosAreListedInOrder() {
    const auto many = [](AppFolder& f) {
      const std::string bytes = EncodeScenario(Scenario({0, 1, 2, 3, 4, 5}));
      for (int i = 2499; i >= 0; --i) std::ofstream(f / "Scenario" / (std::to_string(i) + ".dat")) << bytes;
    };
    Window window(many);
    QStringList names;
    for (const std::string& name : ListScenarios(window.form->ScenarioFolders())) names << ToQString(name);
    QCOMPARE(names.size(), 2500);
    RUN(window, "titleMenu.newGame; saveSlots.confirm; list=*" + names.join('|') +
                    "; scenario=0; focus=scenarioList");
    Window closed(many);
    closed.form->findChild<QAbstractButton*>("titleMenu.newGame")->click();
    closed.form->findChild<QAbstractButton*>("saveSlots.confirm")->click();
    closed.form->close();
    RUN(closed, "exit=0; list=");
  }

  void layoutPicturesAndFonts() {
    Window window(OneScenario({0, 1, 2, 3, 4, 5}));
    MainForm& form = *window.form;
    QCOMPARE(form.size(), QSize(516, 438));
    // The design's twips at 15 a pixel; labels keep their left edge and fit their text.
    const auto* title = form.findChild<QLabel*>("title");
    QCOMPARE(form.Status(4).geometry(), QRect(136, 184, 113, 161));
    QCOMPARE(title->pos(), QPoint(43, 80));
    QVERIFY(title->geometry().right() < form.width());
    QCOMPARE(form.findChild<QLabel*>("statusPanel3.money")->pos(), QPoint(64, 32));
    // Six emblems at half their files' size; every button wears the texture's very pixmap.
    for (int i = 0; i < kFactionCount; ++i) {
      const QImage file(QString(YUUNAGI_PICTURE_DIR "/No%1.bmp").arg(i));
      QCOMPARE(form.Emblem(i).Picture().deviceIndependentSize().toSize(), file.size() / 2);
    }
    const qint64 texture = form.findChild<PictureBox*>("texture")->Picture().cacheKey();
    for (GraphicButton* button : form.findChildren<GraphicButton*>())
      QCOMPARE(button->Picture().cacheKey(), texture);
    const QList<GraphicOption*> options = form.findChildren<GraphicOption*>();
    QCOMPARE(options.size(), 4);
    for (GraphicOption* option : options) QCOMPARE(option->Picture().cacheKey(), texture);
    // Every caption has its glyphs in the layout's font.
    QCOMPARE(QFontInfo(title->font()).family(), QString("IPAPGothic"));
    int glyphs = 0;
    for (QWidget* widget : form.findChildren<QWidget*>()) {
      auto* label = qobject_cast<QLabel*>(widget);
      auto* button = qobject_cast<QAbstractButton*>(widget);
      const QString text = label ? label->text() : button ? button->text() : QString();
      for (const char32_t c : text.toUcs4()) {
        QVERIFY2(QFontMetrics(widget->font()).inFontUcs4(c), qPrintable(widget->objectName() + ": " + text));
        ++glyphs;
      }
    }
    QVERIFY(glyphs > 200);
  }

  void zoomMusicAndComputerAreKeptForTheNextStart() {
    {
      Window first(OneScenario({0, 1, 2, 3, 4, 5}));
      RUN(first,
          "strong=0; press Ctrl+=; press M; size=774x657; music=0; press F2; ComputerStrong; strong=1; "
          "closed");
    }
    Window second(OneScenario({0, 1, 2, 3, 4, 5}), true);
    RUN(second,
        "size=774x657; music=0; song=; strong=1; press M; song=オープニング; press F2; ComputerNormal; "
        "closed");
    Window third(OneScenario({0, 1, 2, 3, 4, 5}), true);
    RUN(third, "size=774x657; music=1; strong=0; press Ctrl+0; closed");
  }

  void speedBarTakesTheSpeedWhenLetGo() {
    Window window(OneScenario({0, 1, 2, 3, 4, 5}));
    auto* bar = window.form->findChild<QScrollBar*>("speedBar.slider");
    bar->setSliderDown(true);  // the thumb dragged to the left end
    bar->setSliderPosition(bar->minimum());
    QCOMPARE(window.form->Data().GameSpeed, 1000.0f);
    bar->setSliderDown(false);  // and let go
    QCOMPARE(window.form->Data().GameSpeed, 100.0f);
  }

  void hotSeatGameSavedAndContinued() {
    ScenarioRecord duel = Scenario({0, 2, 1, 1, 0, 1});  // ヒノデ and ソラノ, and a weak ハナミ in district 1
    duel.StartMoney = {100, 50, 100, 100, 100, 100};
    duel.StartSoldiers = {100, 20, 40, 40, 100, 40};
    duel.StartStrength = {30, 5, 20, 10, 30, 10};
    duel.StartWeapon = {2, 1, 1, 1, 2, 1};
    duel.StartDevelopment = {10, 5, 10, 10, 10, 10};
    Window first([&](AppFolder& f) { f.WriteScenario("一騎打ち", duel); });
    // 1P ヒノデ's sword takes ハナミ's only district: the news shows over the
    // board as it now is, and 1P's move of district 1 follows without a click.
    RUN(first,
        "draw 0.9 0.3; titleMenu.newGame; saveSlots.slot3; saveSlots.confirm; scenarioList.confirm; "
        "factionPicker.faction0; heading=<2P>選択; "
        "factionPicker.faction1; factionPicker.confirm; players=1,2,0,0,0,0/2; actionMenu.attack; hover "
        "weaponMenu.weapon2; "
        "message=剣で攻撃します。（ダメージ = 45 費用 = 5）; weaponMenu.weapon2; left statusPanel1; "
        "boxes=ゲームをはじめます。\nよろしいですか？|ハナミは滅亡した。; box.statusPanel1.owner=ヒノデ; "
        "box.messagePanel.text=ヒノデの戦略: ハナミを斬りつけた。45のダメージ!!ハナミを占領した!!; "
        "panel1=ヒノデ 50 50 5 1 5; mover=1; highlight=1; shown=game actionMenu; actionMenu.save; "
        "message=セーブしました。; saves=Save3.rec Save3.sav");
    const QMap<QString, QString> atSave = first.Facts();
    RUN(first, "actionMenu.attack; weaponMenu.weapon1; left statusPanel2; panel2=ソラノ 100 35 20 1 10");
    const QMap<QString, QString> afterAttack = first.Facts();

    // A new program continues from slot 3 where the save was made, and the
    // same action with the same chance leads to the same board.
    Window second([&](AppFolder& f) {
      for (const char* file : {"Save/Save3.sav", "Save/Save3.rec"})
        std::filesystem::copy_file(first.folder / file, f / file);
    });
    RUN(second,
        "draw 0.3; titleMenu.continue; slots~|一騎打ち Turn 1; saveSlots.slot3; saveSlots.confirm; "
        "caption=ユウナギ町争奪戦～一騎打ち～; song=決戦の町; mover=1; highlight=1; menu=～<1P>の戦略～; "
        "players=1,2,0,0,0,0/2");
    QCOMPARE(second.Facts()["panels"], atSave["panels"]);
    // The war record goes back to turn 1, and on from the save.
    QVERIFY(second.Facts()["recordlines"].startsWith(atSave["recordlines"] + "Turn 1  戦闘開始!!|"));
    RUN(second,
        "actionMenu.attack; weaponMenu.weapon1; left statusPanel2; message=ヒノデの戦略: "
        "ソラノを殴った。5のダメージ!!; "
        "left background; mover=2; menu=～<2P>の戦略～");
    QCOMPARE(second.Facts()["panels"], afterAttack["panels"]);
  }

 private:
  QTemporaryDir config_;
};

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
