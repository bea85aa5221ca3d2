// A computer player decides one action for the district whose move it is.
// The engine checks the decision like any human's and carries it out.
#pragma once

#include <optional>

#include "core/GameState.h"
#include "rules/Random.h"

namespace yuunagi {

struct Decision {
  Action action = Action::Attack;
  i16 value = 0;   // weapon level or amount
  i16 target = 0;  // district to attack
};

class ComputerPlayer {
 public:
  virtual ~ComputerPlayer() = default;
  // The mover's action, or nothing when there is nothing to do (a board with
  // one faction left). `gameRandom` is the game's own source of chance.
  virtual std::optional<Decision> Decide(const Board& board, RandomSource& gameRandom) = 0;
};

}  // namespace yuunagi
