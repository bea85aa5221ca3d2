// The game engine: it owns the game's state and the phases of every move,
// carries a game from its first move to its end, and is the one way the board
// changes, for human and computer players alike. It knows nothing of windows;
// it reaches the outside world only through its Host. Hosts read the state
// (Data) and ask: every request is checked against the move's phase and the
// rule book, and a refused request changes nothing and draws no chance.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/GameState.h"
#include "core/Host.h"
#include "rules/ComputerStrategy.h"
#include "rules/Random.h"
#include "rules/RuleBook.h"

namespace yuunagi {

class StrongStrategy;

// Who plays the factions no human plays: the game's own chain of chances, or
// the player that looks ahead before every move. 普通 is the default.
enum class ComputerLevel : std::uint8_t { Normal, Strong };
inline constexpr std::array<std::string_view, 2> ComputerLevelNames = {"普通", "強い"};

class Engine {
 public:
  Engine(Host& host, RandomSource& random);
  ~Engine();

  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  const GameData& Data() const { return data_; }
  const DistrictRecord& Mover() const { return data_.Mover(); }

  // ---- Before a game (title, slot, scenario and faction screens) ----
  void SetGameSpeed(float milliseconds) { data_.GameSpeed = milliseconds; }
  void SetStartMode(i16 mode);
  void SetSaveSlot(i16 slot);
  // The scenario picked from the list, under its shown name.
  void ChooseScenario(const ScenarioRecord& scenario, std::string name);
  // Factions on the chosen scenario's board (those that can be picked).
  int ScenarioFactionCount() const;
  void ClearPlayers();
  // The next player takes faction `faction`; returns that player's number, 0 if refused.
  i16 JoinFaction(int faction);
  // Copies the chosen scenario's start table into the board and starts the
  // game; a game nobody joined is watched (spectator mode).
  bool StartNewGameFromScenario();
  // Copies a save slot's record back into the game and starts it at the saved move.
  bool ContinueFromSaveData(const SaveRecord& save);

  // ---- The computer players (at any time: the next computer move uses it;
  // a continued game plays with the level set now) ----
  // Every faction's computer player.
  void SetComputerLevel(ComputerLevel level) { levels_.fill(level); }
  // One faction's computer player; a faction outside 0..5 is ignored.
  void SetComputerLevel(int faction, ComputerLevel level);
  ComputerLevel ComputerLevelOf(int faction) const;
  // Seeds the strong player's own chances (its search never draws from the
  // game's random source). Without a call it starts from a fixed seed.
  void SetStrongSeed(std::uint64_t seed);

  // ---- A human move ----
  // Whether `action` would be taken now (phase, money, weapon, target, limits).
  ActionCheck CheckAction(Action action, i16 value, i16 target) const;
  // True while the mover is a human who has not yet acted in this move.
  bool AwaitsHumanChoice() const;
  // The amount panel opens for Develop, Hire or Train.
  bool ChooseAmountAction(Action action);
  // A weapon is chosen: the next click on an enemy district attacks with it.
  ActionCheck BeginTargeting(i16 level);
  // The target pick is called off: the human chooses again.
  bool CancelTargeting();
  // Fills SaveData from the running game, during a human's choice.
  bool FillSaveData();
  // The running game as a save record at any moment, as of the next move to
  // be played: the mover's own move while it is still to come, otherwise the
  // board moved on to the next mover (a new turn's income included), so a
  // continued game neither plays a move twice nor skips one. Nothing before
  // a game starts or once it is decided.
  std::optional<SaveRecord> RecordOfNextMove() const;

  // ---- Every move ----
  // Carries out one action of the district whose move it is. Refused, with
  // nothing changed, outside its phase (not the mover's time to act, a second
  // action in one move, a computer's move from outside) or against the rules.
  ActionCheck ExecuteAction(Action action, i16 value, i16 target);
  // The click after a human acted: the next move begins. Refused at any other time.
  bool ContinueAfterAction();
  // The end of a computer move's pause (Host::ScheduleNextMove): the next
  // move begins. Refused at any other time, so no click shortens a pause.
  bool NextMove();

  // The spectator start (hosts check the files they read first; this keeps
  // the engine itself safe): false, starting nothing, for a board the game
  // cannot show or while a game is running.
  bool StartGame();

  // True once the game has ended (victory or the last human's defeat).
  bool Finished() const { return finished_; }
  // The faction that took the whole town, or -1.
  int Winner() const { return winner_; }
  // Number of actions carried out since construction.
  long long MoveCount() const { return moves_; }

 private:
  friend struct EngineTestAccess;

  bool IsHumanFaction(int faction) const { return data_.IsHumanFaction(faction); }
  bool MoverIsHuman() const { return IsHumanFaction(Mover().Owner); }
  bool Running() const;
  Refusal PhaseRefusal(Action action) const;
  void BeginMove();
  void AdvanceMove();
  void ChooseComputerAction();
  ComputerPlayer& PlayerOf(int faction);
  void ShowActionOnBoard(const ActionReport& report);
  void FinishAction(const ActionReport& report);
  void EndGame(const Notice& notice);

  Host& host_;
  RandomSource& random_;
  GameData data_;
  ComputerStrategy strategy_;
  bool acted_ = false;     // the mover has acted in this move
  bool deciding_ = false;  // the computer is carrying out its move
  bool pauseDue_ = false;  // a computer move ended; its pause leads to NextMove
  bool finished_ = false;
  int winner_ = -1;
  long long moves_ = 0;

  std::array<ComputerLevel, kFactionCount> levels_{};
  std::uint64_t strongSeed_ = 0x5EED0F5710C4A1ULL;
  std::unique_ptr<StrongStrategy> strong_;  // made at its first move
};

}  // namespace yuunagi
