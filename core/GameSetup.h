// Filling the board from a scenario or a save slot, and a save slot from the board.
#pragma once

#include "core/GameState.h"

namespace yuunagi {

// The scenario's start table, music and start turn; district 0 moves first.
void LoadScenarioBoard(const ScenarioRecord& scenario, GameData& data);
// The running game as a save slot's record.
SaveRecord MakeSaveRecord(const GameData& data);
// A save slot's record back into the game, at the saved move.
void LoadSavedGame(const SaveRecord& save, GameData& data);

}  // namespace yuunagi
