// The turn cycle: game start, the order of moves, income, the turn counter,
// human and computer moves, and starting from a scenario or a save.
#include <functional>
#include <optional>

#include "EngineFixture.h"
#include "tests/support/EvenStart.h"

namespace yuunagi::testing {
namespace {

class TurnCycle : public EngineFixture {
 protected:
  TurnCycle() { G().GameState = Phase::NotStarted; }

  // Every district collects (chance 0.0 after ten failed capture searches).
  void ScriptCollect() {
    for (int i = 0; i < 10; ++i) random.Push({0.99});
    random.Push({0.0, 0.0});
  }
};

TEST_F(TurnCycle, StartGameLimitsTheBoardShowsItAndBeginsTheFirstMove) {
  Human(0, 1);
  D(0) = {0, 20000, 12000, 1500, 7, 1001};
  D(1) = {1, -5, -6, -7, 0, -8};
  G().ScenarioName = "テスト";
  G().MusicName = "決戦の町";
  engine.StartGame();
  EXPECT_EQ(D(0), (DistrictRecord{0, 10000, 10000, 1000, 5, 1000}));
  EXPECT_EQ(D(1), (DistrictRecord{1, -5, -6, -7, 0, -8})) << "values below the limits stay";
  EXPECT_EQ(host.refreshed, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(host.emblemDraws, 1);
  EXPECT_EQ(host.screen, "テスト");
  EXPECT_EQ(host.turnShown, 1);
  EXPECT_EQ(host.messages, (std::vector<std::string>{"戦闘開始!!"}));
  EXPECT_EQ(host.music, (std::vector<std::string>{"play:決戦の町"}));
  EXPECT_EQ(host.actionMenuPlayer, 1);
  EXPECT_EQ(host.highlighted, 0);
  EXPECT_EQ(host.strategyOf, 0);
  EXPECT_EQ(G().GameState, Phase::Moving);
}

TEST_F(TurnCycle, AComputerMoveActsThenPausesForTheGameSpeed) {
  G().GameSpeed = 2000;
  ScriptCollect();
  engine.StartGame();
  EXPECT_EQ(host.scheduled, 1);
  EXPECT_FLOAT_EQ(host.lastPause, 2.0f);
  EXPECT_EQ(host.calls.back(), "schedule");
  EXPECT_EQ(host.calls[host.calls.size() - 2], "yield");
  EXPECT_EQ(G().CurrentDistrict, 0) << "the next move waits for the host";
  G().GameSpeed = 100;
  ScriptCollect();
  engine.NextMove();
  EXPECT_FLOAT_EQ(host.lastPause, 0.1f);
}

TEST_F(TurnCycle, IncomeAndTheTurnCounterComeOnlyWithTheWrapToDistrictZero) {
  Human(0, 1);              // district 0 waits for its player: nothing acts after the income
  G().CurrentDistrict = 3;  // as a continued game might begin
  G().TurnNumber = 4;
  D(0).Money = 9950;
  D(0).Development = 100;
  D(1).Money = 10000;
  D(1).Development = 0;
  D(2).Development = 7;
  for (int d = 3; d <= 5; ++d) ScriptCollect();
  engine.StartGame();
  engine.NextMove();
  engine.NextMove();
  EXPECT_EQ(G().TurnNumber, 4);
  EXPECT_EQ(G().CurrentDistrict, 5);
  EXPECT_EQ(D(0).Money, 9950);
  engine.NextMove();
  EXPECT_EQ(G().TurnNumber, 5);
  EXPECT_EQ(host.turnShown, 5);
  EXPECT_EQ(G().CurrentDistrict, 0);
  EXPECT_EQ(host.actionMenuPlayer, 1);
  EXPECT_EQ(D(0).Money, 10000) << "50 below the limit plus 100: exactly the limit";
  EXPECT_EQ(D(1).Money, 10000) << "at the limit with no development: unchanged";
  EXPECT_EQ(D(2).Money, 107);
  EXPECT_EQ(random.Remaining(), 0);
}

TEST_F(TurnCycle, IncomeOfADistrictPastTheLimitDoesNotOverflow) {
  Human(0, 1);
  G().CurrentDistrict = 5;
  ScriptCollect();
  engine.StartGame();  // limits Money to 10000 ...
  D(0).Money = 32760;  // ... but a district can still be past it by other means
  D(0).Development = 1000;
  engine.NextMove();
  EXPECT_EQ(D(0).Money, 10000);
}

TEST_F(TurnCycle, EveryTurnHasSixMovesAndTheHighlightFollowsTheMover) {
  Human(0, 1);
  engine.StartGame();
  host.calls.clear();
  D(1).Owner = 2;  // ソラノ is gone: its district still moves, for ハナミ
  for (int d = 1; d <= 5; ++d) ScriptCollect();
  engine.ExecuteAction(Hire, 1, 0);
  engine.ContinueAfterAction();
  for (int move = 1; move < 6; ++move) engine.NextMove();
  std::vector<std::string> highlights;
  for (const auto& c : host.calls) {
    if (c.find("highlight:") != std::string::npos) highlights.push_back(c);
  }
  const std::vector<std::string> expected = {"unhighlight:0", "highlight:1", "unhighlight:1", "highlight:2",
                                             "unhighlight:2", "highlight:3", "unhighlight:3", "highlight:4",
                                             "unhighlight:4", "highlight:5", "unhighlight:5", "highlight:0"};
  EXPECT_EQ(highlights, expected);
  EXPECT_EQ(host.scheduled, 5);
  EXPECT_EQ(G().TurnNumber, 2);
}

TEST_F(TurnCycle, ASpectatorGameGoesOnSilentlyAfterADestruction) {
  G().CurrentDistrict = 2;
  D(3).Soldiers = 0;
  // District 2 finds district 3 at once and takes it with fists.
  random.Push({0.5, /*attack*/ 0.9});
  engine.StartGame();
  EXPECT_EQ(D(3).Owner, 2);
  EXPECT_EQ(G().GameState, Phase::FactionDestroyed);
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_EQ(host.scheduled, 1) << "the pause follows as after any computer move";
  ScriptCollect();
  engine.NextMove();
  EXPECT_EQ(G().GameState, Phase::Moving);
  EXPECT_EQ(G().CurrentDistrict, 3);
}

TEST_F(TurnCycle, StartRefusesABoardItCannotShow) {
  D(4).Owner = 6;
  EXPECT_FALSE(engine.StartGame());
  D(4).Owner = 4;
  G().CurrentDistrict = -1;
  EXPECT_FALSE(engine.StartGame());
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(random.Draws(), 0);
}

TEST_F(TurnCycle, HumanMoveWaitsForTheActionThenTheClick) {
  Human(3, 2);
  G().CurrentDistrict = 3;
  engine.StartGame();
  EXPECT_EQ(host.actionMenuPlayer, 2);
  EXPECT_EQ(host.scheduled, 0);
  engine.ExecuteAction(Hire, 10, 0);
  EXPECT_EQ(G().GameState, Phase::AwaitingClick);
  ScriptCollect();
  EXPECT_FALSE(engine.NextMove()) << "only a click ends a human's move";
  engine.ContinueAfterAction();  // the click
  EXPECT_EQ(G().GameState, Phase::Moving);
  EXPECT_EQ(G().CurrentDistrict, 4);
  EXPECT_EQ(host.scheduled, 1);
}

TEST_F(TurnCycle, ADistrictCapturedByAHumanIsPlayedByThatHuman) {
  Human(2, 3);
  D(1).Owner = 2;
  G().CurrentDistrict = 0;
  ScriptCollect();
  engine.StartGame();
  engine.NextMove();
  EXPECT_EQ(host.actionMenuPlayer, 3);
  EXPECT_EQ(host.strategyOf, 2);
  EXPECT_EQ(host.highlighted, 1);
}

TEST_F(TurnCycle, NewGameTakesTheScenariosStartTable) {
  ScenarioRecord s = test::EvenStart({.soldiers = 5000});
  s.StartTurn = 7;
  s.StartOwner = {1, 0, 2, 2, 4, 4};
  s.StartWeapon[3] = 9;
  s.Music = "ABCDEFGHIJKLMNOPQRST";  // 20 characters: a new game uses the first 16
  G().Scenario = s;
  G().CurrentDistrict = 4;
  ScriptCollect();
  engine.StartNewGameFromScenario();
  EXPECT_EQ(G().TurnNumber, 7);
  EXPECT_EQ(G().CurrentDistrict, 0);
  EXPECT_EQ(G().MusicName, "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(D(0).Owner, 1);
  EXPECT_EQ(D(3), (DistrictRecord{2, 100, 5000, 10, 5, 10}));
}

TEST_F(TurnCycle, SavingAndContinuingRestoresTheGameAtTheSavedMove) {
  Human(1, 1);
  Human(4, 2);
  G().ScenarioName = "ユウナギの夕暮れ";
  G().MusicName = "決戦の町";
  G().TurnNumber = 12;
  G().CurrentDistrict = 4;
  D(2) = {1, 1234, 56, 78, 3, 90};
  G().GameState = Phase::Moving;
  ASSERT_TRUE(engine.FillSaveData());
  const SaveRecord saved = G().SaveData;
  EXPECT_EQ(saved.TurnNumber, 12);
  EXPECT_EQ(saved.CurrentDistrict, 4);
  EXPECT_EQ(saved.Owner[2], 1);
  EXPECT_EQ(saved.PlayerOfFaction[4], 2);

  RecordingHost otherHost;
  ScriptedRandom otherRandom;
  Engine restored(otherHost, otherRandom);
  restored.ContinueFromSaveData(saved);
  EXPECT_EQ(restored.Data().Districts, G().Districts);
  EXPECT_EQ(restored.Data().PlayerOfFaction, G().PlayerOfFaction);
  EXPECT_EQ(restored.Data().PlayerCount, 2);
  EXPECT_EQ(restored.Data().TurnNumber, 12);
  EXPECT_EQ(restored.Data().CurrentDistrict, 4);
  EXPECT_EQ(restored.Data().ScenarioName, "ユウナギの夕暮れ");
  EXPECT_EQ(otherHost.actionMenuPlayer, 2) << "the saved human move starts again";
}

TEST_F(TurnCycle, ContinuingCutsNamesToFourteenCharacters) {
  SaveRecord save;
  save.ScenarioName = "ABCDEFGHIJKLMNOP";
  save.MusicName = "0123456789abcdef";
  save.TurnNumber = 3;
  save.Owner = {0, 1, 2, 3, 4, 5};
  save.Weapon = {1, 1, 1, 1, 1, 1};
  save.PlayerOfFaction = {1, 0, 0, 0, 0, 0};
  save.PlayerCount = 1;
  engine.ContinueFromSaveData(save);
  EXPECT_EQ(G().ScenarioName, "ABCDEFGHIJKLMN");
  EXPECT_EQ(G().MusicName, "0123456789abcd");
  EXPECT_EQ(host.music.back(), "play:0123456789abcd");
}

// The autosave's record, taken at any moment of a game with a human, plays on
// exactly as the game itself: the same chances after it give the same board.
struct Reseedable : RandomSource {
  double Next() override { return source.Next(); }
  SeededRandom source{1};
};

// Keeps the record at the first turn's end, and from there on the chances are seed 7's.
struct KeepingHost : RecordingHost {
  void TurnCompleted() override {
    if (!keep || atTurnEnd) return;
    atTurnEnd = engine->RecordOfNextMove();
    random.source = SeededRandom(7);
  }
  const Engine* engine = nullptr;
  Reseedable random;
  bool keep = false;
  std::optional<SaveRecord> atTurnEnd;
};

// One step of play: 1P collects, a click after it, or a computer's pause ends.
void Step(Engine& engine) {
  if (engine.AwaitsHumanChoice()) {
    engine.ExecuteAction(Action::Collect, 0, 0);
  } else if (!engine.ContinueAfterAction()) {
    engine.NextMove();
  }
}

Board PlayToTurn(Engine& engine, int turn) {
  while (!engine.Finished() && engine.Data().TurnNumber < turn) Step(engine);
  return engine.Data();
}

TEST(Autosave, ARecordOfTheNextMoveContinuesTheGameExactly) {
  using Moment = std::function<bool(const Engine&)>;
  const std::pair<const char*, Moment> moments[] = {
      {"a human's choice", [](const Engine& e) { return e.AwaitsHumanChoice(); }},
      {"after the human acted", [](const Engine& e) { return e.Data().GameState == Phase::AwaitingClick; }},
      {"a computer's pause", [](const Engine& e) { return e.Data().CurrentDistrict == 3; }},
      {"the turn's end", nullptr},
  };
  for (const auto& [name, reached] : moments) {
    SCOPED_TRACE(name);
    KeepingHost host;
    Engine game(host, host.random);
    host.engine = &game;
    EXPECT_FALSE(game.RecordOfNextMove()) << "nothing before a game";
    game.ChooseScenario(test::EvenStart(), "港町");
    game.JoinFaction(2);
    game.StartNewGameFromScenario();
    host.keep = reached == nullptr;
    for (int steps = 0; reached ? !reached(game) : !host.atTurnEnd; ++steps) {
      ASSERT_LT(steps, 100);
      Step(game);
    }
    std::optional<SaveRecord> record = reached ? game.RecordOfNextMove() : host.atTurnEnd;
    ASSERT_TRUE(record);
    if (reached) host.random.source = SeededRandom(7);
    const Board expected = PlayToTurn(game, record->TurnNumber + 3);

    RecordingHost otherHost;
    SeededRandom same(7);
    Engine continued(otherHost, same);
    continued.ContinueFromSaveData(*record);
    EXPECT_EQ(PlayToTurn(continued, record->TurnNumber + 3), expected);
  }
}

// Whatever a host asks outside its phase is refused: nothing on the board or
// the screen changes, and no chance is drawn.
TEST_F(TurnCycle, RequestsOutsideTheirPhaseAreRefused) {
  const auto refused = [&](const char* what, const std::function<bool()>& request) {
    const auto board = G().Districts;
    const std::size_t calls = host.calls.size();
    const int draws = random.Draws();
    const Phase state = G().GameState;
    EXPECT_FALSE(request()) << what;
    EXPECT_EQ(G().Districts, board) << what;
    EXPECT_EQ(host.calls.size(), calls) << what;
    EXPECT_EQ(random.Draws(), draws) << what;
    EXPECT_EQ(G().GameState, state) << what;
  };
  const auto act = [&](Action action, i16 value = 0, i16 target = 0) {
    return [=, this] { return static_cast<bool>(engine.ExecuteAction(action, value, target)); };
  };
  refused("an action before the game", act(Collect));
  Human(0, 1);
  ASSERT_TRUE(engine.StartGame());
  refused("an attack before a weapon is chosen", act(Attack, 1, 1));
  refused("the click before acting", [&] { return engine.ContinueAfterAction(); });
  refused("a pause's end during a human's choice", [&] { return engine.NextMove(); });
  refused("a cancel outside targeting", [&] { return engine.CancelTargeting(); });
  refused("joining once the game runs", [&] { return engine.JoinFaction(3) != 0; });
  ASSERT_TRUE(engine.BeginTargeting(1));
  refused("collecting while a target is awaited", act(Collect));
  refused("a district of its own", act(Attack, 1, 0));
  ASSERT_TRUE(engine.CancelTargeting());
  random.Push({0.0});
  ASSERT_TRUE(engine.ExecuteAction(Collect, 0, 0));
  refused("a second action in one move", act(Collect));
  refused("a weapon after acting", [&] { return static_cast<bool>(engine.BeginTargeting(1)); });
  refused("an amount after acting", [&] { return engine.ChooseAmountAction(Hire); });
  refused("saving after acting", [&] { return engine.FillSaveData(); });
  ScriptCollect();
  ASSERT_TRUE(engine.ContinueAfterAction());  // district 1, a computer's, collects and pauses
  EXPECT_EQ(host.scheduled, 1);
  refused("a human's action during a computer's pause", act(Hire, 1));
  refused("a computer's second action during its pause",
          [&] { return static_cast<bool>(EngineTestAccess::ActAsComputer(engine, Collect, 0, 0)); });
  refused("the click during a computer's pause", [&] { return engine.ContinueAfterAction(); });
  refused("a weapon during a computer's pause", [&] { return static_cast<bool>(engine.BeginTargeting(1)); });
  ScriptCollect();
  EXPECT_TRUE(engine.NextMove());
  EXPECT_EQ(G().CurrentDistrict, 2);
}

}  // namespace
}  // namespace yuunagi::testing
