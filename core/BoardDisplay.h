// The board: six status panels, one per district, each showing the emblem
// and name of the faction that holds the district and its five numbers.
#pragma once

#include "core/GameState.h"

namespace yuunagi {

class MainForm;

// Writes Data1(i)..Data6(i) of panel i from Districts(i), in that order.
void RefreshDistrictPanel(MainForm& form, const GameData& data, int i);
// Clears every status panel and stretches its holder's emblem over it.
void DrawDistrictEmblems(MainForm& form, const GameData& data);

}  // namespace yuunagi
