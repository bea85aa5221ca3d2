// How a district that no human plays chooses its move: capture what one blow
// can take, otherwise a fixed chain of chances to collect, hire, arm, develop,
// train, and failing all of these, attack someone at random.
#pragma once

#include "rules/ComputerPlayer.h"

namespace yuunagi {

class ComputerStrategy final : public ComputerPlayer {
 public:
  static constexpr i16 NoTarget = 10;

  // ChooseComputerAction's choice, drawing from the game's random source in
  // the fixed order of the chain.
  std::optional<Decision> Decide(const Board& board, RandomSource& random) override;

  // Damage of the strongest weapon district `d` owns and can pay for.
  static i16 BestDamage(const Board& board, i16 district);
  // Up to ten random districts: the first of another faction that one blow captures.
  static i16 FindCapturableTarget(const Board& board, RandomSource& random);
  // The cheapest weapon up to the missile that captures `target`; else the nuclear missile.
  static i16 ChooseCapturingWeapon(const Board& board, i16 attacker, i16 target);
};

}  // namespace yuunagi
