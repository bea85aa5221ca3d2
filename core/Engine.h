// The game engine: the one way the board changes, the computer players, and
// the turn cycle that carries a game from its first move to its end. It knows
// nothing of windows; it reaches the outside world only through its Host.
#pragma once

#include <string>
#include <string_view>

#include "core/GameState.h"
#include "core/Host.h"
#include "rules/Random.h"

namespace yuunagi {

class Engine {
 public:
  Engine(Host& host, RandomSource& random) : host_(host), random_(random) {}

  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  GameData& Data() { return data_; }
  const GameData& Data() const { return data_; }
  Host& GetHost() { return host_; }
  RandomSource& Random() { return random_; }

  // ---- Rules ----
  // Carries out one action of the district whose move it is. Returns false,
  // changing nothing, for a call outside the contract: an amount below 1, a
  // weapon level outside 1..Weapon, a target outside 0..5 or of the mover's
  // own faction, an unknown action code, or after the game has ended.
  bool ExecuteAction(i16 action, i16 value, i16 target);

  // ---- Computer strategy ----
  static constexpr i16 NoTarget = 10;
  void ChooseComputerAction();
  i16 FindCapturableTarget();
  i16 BestDamage(i16 district) const;
  i16 ChooseCapturingWeapon(i16 attacker, i16 target) const;

  // ---- Turn cycle ----
  // Returns false, starting nothing, for a board the game cannot show: an
  // owner or the district to move outside 0..5. (Hosts check the files they
  // read first; this keeps the engine itself safe.)
  bool StartGame();
  void BeginMove();
  void NextMove();

  // ---- Starting and saving games ----
  // Copies the chosen scenario's start table into the board and starts the
  // game (the faction picks are already in PlayerOfFaction / PlayerCount).
  bool StartNewGameFromScenario();
  // Copies SaveData back into the game and starts it at the saved move.
  bool ContinueFromSaveData();
  // Fills SaveData from the running game.
  void FillSaveData();

  // True once the game has ended (victory or the last human's defeat).
  bool Finished() const { return finished_; }
  // The faction that took the whole town, or -1.
  int Winner() const { return winner_; }
  // Number of actions carried out since construction.
  long long MoveCount() const { return moves_; }

  // Damage of an attack: Int(strength x factor), rounded down.
  static i16 Damage(i16 strength, int weaponLevel);

 private:
  bool IsHumanFaction(int faction) const { return data_.PlayerOfFaction[faction] != 0; }
  void EndGame(const std::string& message);
  void Buy(i16& field, i16 amount, int pricePerUnit, i16 limit, std::string_view before,
           std::string_view after);
  i16 DrawHalfToAll(i16 units, int pricePerUnit);

  Host& host_;
  RandomSource& random_;
  GameData data_;
  std::string report_;  // reused buffers: no allocation per move
  std::string message_;
  bool finished_ = false;
  int winner_ = -1;
  long long moves_ = 0;
};

}  // namespace yuunagi
