// The game's state: the board of six districts, who plays which faction,
// whose move it is, the codes of phases and actions, and the constant weapon
// tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/Records.h"

namespace yuunagi {

using i16 = std::int16_t;

constexpr int kDistrictCount = 6;
constexpr int kFactionCount = 6;
constexpr int kWeaponLevels = 5;

// One district of the town. Six signed 16-bit fields in this order; the
// scenario and save files store them column by column in the same order.
struct DistrictRecord {
  i16 Owner = 0;  // faction index 0..5 that holds the district
  i16 Money = 0;  // gold
  i16 Soldiers = 0;
  i16 Strength = 0;     // strength of the soldiers
  i16 Weapon = 0;       // best weapon level owned, 1 (fists) .. 5 (nuclear missile)
  i16 Development = 0;  // town level; also the gold earned per turn
  friend bool operator==(const DistrictRecord&, const DistrictRecord&) = default;
};

// Phases of play (GameData::GameState). The values are stored and compared
// by tools, so they stay as they are.
enum class Phase : std::int16_t {
  NotStarted = 0,          // title, file and faction selection
  Moving = 1,              // a move is under way
  AwaitingTarget = 2,      // a human chose a weapon and must click the target
  AwaitingClick = 3,       // a human acted; the next click starts the next move
  Victory = 4,             // one faction holds the whole town
  LastHumanDestroyed = 5,  // no human player is left
  FactionDestroyed = 6,    // a faction fell and play goes on
};

// The actions of a move. The action menu's buttons name theirs in the
// menu's own table (commands/ActionPanel.cpp).
enum class Action : std::int16_t {
  Attack = 0,
  Collect = 1,
  Develop = 2,
  Hire = 3,
  Train = 4,
  DevelopWeapon = 5,
};

// Value of PlayerCount for a game that nobody joined (spectator mode).
constexpr i16 kSpectatorPlayerCount = 10;

// Limits enforced on the board (a larger value is set to the limit).
constexpr i16 kMoneyLimit = 10000;
constexpr i16 kSoldiersLimit = 10000;
constexpr i16 kStrengthLimit = 1000;
constexpr i16 kDevelopmentLimit = 1000;
constexpr i16 kWeaponLimit = 5;

inline constexpr std::string_view GameTitle = "ユウナギ町争奪戦";
inline constexpr std::array<std::string_view, kFactionCount> FactionNames = {"ヒノデ", "ソラノ", "ハナミ",
                                                                             "トコナ", "セリ",   "ミオツ"};

// Weapon tables, indexed by weapon level minus one.
inline constexpr std::array<i16, kWeaponLevels> AttackCost = {0, 5, 15, 45, 100};
inline constexpr std::array<float, kWeaponLevels> DamageFactor = {1.0f, 1.5f, 2.5f, 5.0f, 10.0f};
// Price of the next weapon, indexed by the current level. The sixth entry is
// read (never charged) by the computer strategy at level 5.
inline constexpr std::array<i16, kWeaponLevels + 1> WeaponDevelopCost = {0, 30, 80, 150, 400, 0};
inline constexpr std::array<std::string_view, kWeaponLevels> WeaponNames = {"殴る", "剣", "銃", "ミサイル",
                                                                            "核ミサイル"};

// The board a game is played on: the districts, whose move it is, the turn
// and who plays which faction. A plain value: the strong player's look-ahead
// plays its futures on copies of it.
struct Board {
  std::array<DistrictRecord, kDistrictCount> Districts{};
  std::array<i16, kFactionCount> PlayerOfFaction{};  // 0 computer, n >= 1 human player n
  i16 PlayerCount = 0;  // human players; kSpectatorPlayerCount when nobody joined
  i16 TurnNumber = 0;
  i16 CurrentDistrict = 0;  // the mover

  const DistrictRecord& Mover() const { return Districts[CurrentDistrict]; }
  DistrictRecord& Mover() { return Districts[CurrentDistrict]; }
  bool IsHumanFaction(int faction) const { return PlayerOfFaction[faction] != 0; }
  friend bool operator==(const Board&, const Board&) = default;
};

// Everything a running program knows about the game: the board and what the
// window's screens set up around it. The host owns one and hands it to the
// engine; the window's panels read it and write the few fields that belong
// to them (SaveSlot, StartMode, GameSpeed, the players).
struct GameData : Board {
  i16 FactionCount = 0;     // factions offered at faction selection
  i16 SelectedCommand = 0;  // pending action (amount entry) or weapon level (targeting)
  Phase GameState = Phase::NotStarted;
  i16 StartMode = 0;          // 0 new game, 1 continue
  i16 SaveSlot = 0;           // 0..3
  float GameSpeed = 1000.0f;  // pause after a computer move, in milliseconds
  std::string ScenarioName;   // UTF-8, as everywhere in the engine
  std::string MusicName;
  ScenarioRecord Scenario;
  SaveRecord SaveData;
  // Only boards are compared: cast to Board to say so.
  friend bool operator==(const GameData&, const GameData&) = delete;
};

}  // namespace yuunagi
