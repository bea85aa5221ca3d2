// Carries out one checked action of the district whose move it is: what it
// costs, what it changes on the board, and whether a capture destroyed a
// faction or won the town; and moves the board on to the next mover. The
// engine checks the action first (rules/RuleBook.h) and does what follows it
// (core/Engine.h); the strong player's look-ahead plays its futures with the
// same two functions on copies of the board.
#pragma once

#include "core/GameState.h"
#include "rules/Random.h"
#include "rules/Reports.h"

namespace yuunagi {

// Changes `board` for the mover's `action` (value: weapon level or amount;
// target: the district attacked) and reports what it did. The action must
// have passed CheckBoardAction. Draws from `random` as the game does.
ActionReport ApplyAction(Board& board, Action action, i16 value, i16 target, RandomSource& random);

// The next district's move. At the wrap to district 0 a new turn begins and
// every district earns its development in gold; returns true then.
bool AdvanceMover(Board& board);

// The steps of the single actions, for ApplyAction (Attack.cpp, Economy.cpp).
void ApplyAttack(Board& board, i16 level, i16 target, RandomSource& random, ActionReport& report);
void ApplyCollect(Board& board, RandomSource& random, ActionReport& report);
void ApplyPurchase(Board& board, Action action, i16 amount, ActionReport& report);
void ApplyWeaponDevelopment(Board& board, ActionReport& report);

}  // namespace yuunagi
