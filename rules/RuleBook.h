// The rule book of a move: what makes an action legal for the district whose move it is: the weapon it
// owns and can pay for, a target of another faction, the price of an amount,
// the weapon ladder's top. The engine, the window's menus and the computer
// players all ask here, so each price and limit is decided in one place.
#pragma once

#include <string_view>

#include "core/GameState.h"

namespace yuunagi {

enum class Refusal {
  None,
  WrongPhase,  // not this move's time for it (another's move, already acted, ...)
  UnknownAction,
  NoSuchWeapon,   // a level outside 1..Weapon
  NotATarget,     // outside the board, or a district of the mover's own faction
  BadAmount,      // an amount below 1
  NoMoreWeapons,  // the weapon ladder is at its top
  NotEnoughMoney,
};

struct ActionCheck {
  Action action = Action::Attack;
  Refusal refusal = Refusal::None;

  explicit operator bool() const { return refusal == Refusal::None; }
  // What the player reads when the menus refuse: each menu has its own words.
  // Empty for a refusal the player never causes by a choice of theirs.
  std::string_view Text() const;
};

// Gold that `amount` units of Develop, Hire or Train cost, formed wide.
long long AmountPrice(Action action, long long amount);

// Damage of an attack: Int(strength x factor of the weapon), rounded down.
i16 Damage(i16 strength, int weaponLevel);

// Weapon `level` for the mover: owned (1..Weapon) and paid for?
ActionCheck CheckWeaponChoice(const DistrictRecord& mover, int level);

// Can district `d` pay for an attack with weapon `level`, and does it own it?
bool CanAttackWith(const DistrictRecord& d, int level);

// Is `target` a district the mover may attack (on the board, another faction)?
bool IsEnemyDistrict(const Board& board, int target);

// The board's verdict on one action of the mover (the phase is the engine's).
ActionCheck CheckBoardAction(const Board& board, Action action, i16 value, i16 target);

}  // namespace yuunagi
