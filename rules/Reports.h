// The engine's news for its host, as values rather than text: what an action
// did, the game's own lines and the message boxes. The words the player reads
// are composed here, in one place, for the window, the tools and the record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/GameState.h"

namespace yuunagi {

// What one action of a move did.
struct ActionReport {
  i16 turn = 0;
  i16 amount = 0;  // units asked for (develop, hire, train) or gold collected
  i16 damage = 0;  // an attack's damage
  Action action = Action::Attack;
  std::int8_t moverDistrict = 0;
  std::int8_t moverFaction = 0;
  std::int8_t weaponLevel = 0;        // the attack's weapon, or the newly developed one
  std::int8_t target = -1;            // the district attacked, or -1
  std::int8_t targetFaction = -1;     // its holder before the attack, or -1
  std::int8_t destroyedFaction = -1;  // the faction a capture wiped off the board, or -1
  bool captured = false;              // the attack took the target district
  bool victory = false;               // the capture won the whole town
};

// The move of `district` for `faction` begins; `player` is its human player
// (0 for the computer).
struct MoveStart {
  int turn = 0;
  int district = 0;
  int faction = 0;
  int player = 0;
};

// A line the game itself says: on the message line, or in the war record
// only (RecordNotKept, when a continued game's earlier record is lost).
enum class GameLine : std::int8_t { BattleBegins, RecordNotKept };

// What a message box announces, about `faction`.
enum class NoticeKind : std::int8_t { FactionDestroyed, TownTaken, LastHumanFallen };
struct Notice {
  NoticeKind kind = NoticeKind::FactionDestroyed;
  int faction = 0;
};

// What the action did, in the player's words, without the mover's name.
std::string ActionText(const ActionReport& report);
// The message line after an action: "<faction>の戦略: " and ActionText.
std::string MessageLineText(const ActionReport& report);
std::string_view GameLineText(GameLine line);
// The message box's text: "<faction>は滅亡した。" or "<faction>はユウナギ町を制圧した。".
std::string NoticeText(const Notice& notice);

}  // namespace yuunagi
