// The board: six status panels, one per district, each showing the emblem
// and name of the faction that holds the district and its five numbers.
#pragma once

#include <array>

#include "core/GameState.h"

namespace yuunagi {

class PictureBox;
class StatusPanel;

// The status panels of the districts, and the emblems of the factions.
using StatusPanels = std::array<StatusPanel*, kDistrictCount>;
using Emblems = std::array<PictureBox*, kFactionCount>;

// Writes the status panel of a district from its record.
void RefreshDistrictPanel(StatusPanel& panel, const DistrictRecord& district);
// Clears every status panel and stretches its holder's emblem over it.
void DrawDistrictEmblems(const StatusPanels& panels, const Emblems& emblems, const GameData& data);

}  // namespace yuunagi
