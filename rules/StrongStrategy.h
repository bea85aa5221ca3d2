// The strong computer player (強い): before every move it tries each action
// the rules allow, plays each on a copy of the board a little way ahead with
// the game's own rules and computer player, and takes the one that leaves its faction best off.
// Its look-ahead has its own seeded chances: it never draws from the game's
// random source, so the other factions play exactly as they would anyway.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/GameState.h"
#include "rules/ComputerPlayer.h"
#include "rules/ComputerStrategy.h"
#include "rules/Random.h"

namespace yuunagi {

// How the strong player's look-ahead is spent.
struct LookAheadBudget {
  int playouts = 48;  // games played ahead per candidate action
  int horizon = 12;   // moves played ahead after the candidate
};

class StrongStrategy final : public ComputerPlayer {
 public:
  explicit StrongStrategy(std::uint64_t seed, LookAheadBudget budget = {});

  // The best candidate for the mover; nothing when no other faction is left.
  // `gameRandom` is never drawn.
  std::optional<Decision> Decide(const Board& board, RandomSource& gameRandom) override;

  // The actions it weighs for the mover, each one the rule book allows: an
  // attack on every enemy district with every weapon it can pay for (the
  // cheapest that captures, and nothing dearer), collecting, the next
  // weapon, and developing, hiring and training with a few amounts.
  static void Candidates(const Board& board, std::vector<Decision>& out);

  // The faction's standing on a board, in gold: its districts and what is in
  // them, less the same for the strongest rival faction. A won town is best,
  // a destroyed faction worst.
  static double Score(const Board& board, int faction);

 private:
  // A source of chance the look-ahead reseeds for every playout, so each
  // candidate faces the same futures.
  class PlayoutRandom final : public RandomSource {
   public:
    void Reseed(std::uint64_t seed) { random_ = SeededRandom(seed); }
    double Next() override { return random_.Next(); }

   private:
    SeededRandom random_{0};
  };

  double Playout(const Board& start, const Decision& candidate, std::uint64_t seed);
  bool PlayNormalMove(Board& board);

  LookAheadBudget budget_;
  SeededRandom own_;
  PlayoutRandom playoutRandom_;
  ComputerStrategy normal_;
  std::vector<Decision> candidates_;
};

}  // namespace yuunagi
