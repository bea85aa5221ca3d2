// Whether a scenario or a save can be played: the values the rules rely on
// (owners that are factions, weapons that exist, no debts and no shrinking
// towns, an opponent on the board, consistent player numbers). Large amounts
// are not judged: the game clamps them when it starts.
#pragma once

#include <optional>
#include <string>

#include "files/Records.h"

namespace yuunagi {

// nullopt when the scenario can be played, otherwise one Japanese line that
// names the field and the district at fault.
std::optional<std::string> CheckScenario(const ScenarioRecord& scenario);

// The same for a save. An empty slot (TurnNumber 0) is the caller's concern.
std::optional<std::string> CheckSave(const SaveRecord& save);

}  // namespace yuunagi
