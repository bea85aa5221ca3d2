// The board: six status panels, one per district, each showing the emblem
// and name of the faction that holds the district and its five numbers.
#pragma once

#include "core/GameState.h"

namespace yuunagi {

class MainForm;

// Writes the status panel of district i from Districts(i).
void RefreshDistrictPanel(MainForm& form, const GameData& data, int i);
// Clears every status panel and stretches its holder's emblem over it.
void DrawDistrictEmblems(MainForm& form, const GameData& data);

}  // namespace yuunagi
