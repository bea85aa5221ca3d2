#include "rules/StrongStrategy.h"

#include <array>

#include "rules/ActionResolver.h"
#include "rules/RuleBook.h"

namespace yuunagi {
namespace {

// What the look-ahead counts, in gold. A district is worth a good deal more
// than what is in it; gold, soldiers (1 gold each) and strength (10 gold a
// point) count at their price; development above its price, as it pays every
// turn; a weapon at most of what the ladder cost.
constexpr double kDistrictWorth = 400;
constexpr double kStrengthWorth = 10;
constexpr double kDevelopmentWorth = 15;
constexpr double kWeaponShare = 0.8;

// Gold spent on the weapon ladder to reach each level (fists cost nothing).
constexpr std::array<double, kWeaponLevels + 1> kLadderGold = [] {
  std::array<double, kWeaponLevels + 1> gold{};
  for (int level = 2; level <= kWeaponLevels; ++level)
    gold[level] = gold[level - 1] + WeaponDevelopCost[level - 1];
  return gold;
}();

constexpr double kWon = 1e6;
// A won town counts less, and a fall more, the later it comes in the look-
// ahead: a sure winner takes the quickest way, a sure loser holds out longest.
// (Far above any standing short of the end, so a win always beats it.)
constexpr double kEndPerMove = 1000;

void AddIfLegal(const Board& board, std::vector<Decision>& out, Action action, i16 value, i16 target = 0) {
  if (CheckBoardAction(board, action, value, target)) out.push_back(Decision{action, value, target});
}

}  // namespace

StrongStrategy::StrongStrategy(std::uint64_t seed, LookAheadBudget budget) : budget_(budget), own_(seed) {}

void StrongStrategy::Candidates(const Board& board, std::vector<Decision>& out) {
  out.clear();
  bool anyEnemy = false;
  const DistrictRecord& mover = board.Districts[board.CurrentDistrict];
  for (int t = 0; t < kDistrictCount; ++t) {
    if (!IsEnemyDistrict(board, t)) continue;
    anyEnemy = true;
    for (int level = 1; level <= kWeaponLevels; ++level) {
      if (!CanAttackWith(mover, level)) continue;
      out.push_back(Decision{Action::Attack, static_cast<i16>(level), static_cast<i16>(t)});
      // A dearer weapon captures no better than the cheapest that captures.
      if (Damage(mover.Strength, level) >= board.Districts[t].Soldiers) break;
    }
  }
  if (!anyEnemy) return;  // nobody left to fight: the game is over
  AddIfLegal(board, out, Action::Collect, 0);
  AddIfLegal(board, out, Action::DevelopWeapon, 0);
  const i16 money = mover.Money;
  for (const Action action : {Action::Develop, Action::Hire, Action::Train}) {
    const i16 all = static_cast<i16>(money / AmountPrice(action, 1));
    AddIfLegal(board, out, action, all);
    if (all / 2 >= 1) AddIfLegal(board, out, action, static_cast<i16>(all / 2));
  }
}

double StrongStrategy::Score(const Board& board, int faction) {
  std::array<double, kFactionCount> holdings{};
  int held = 0;
  for (const DistrictRecord& d : board.Districts) {
    if (d.Owner < 0 || d.Owner >= kFactionCount) continue;
    const int weapon = d.Weapon < 0 ? 0 : d.Weapon > kWeaponLevels ? kWeaponLevels : d.Weapon;
    holdings[d.Owner] += kDistrictWorth + d.Money + d.Soldiers + kStrengthWorth * d.Strength +
                         kDevelopmentWorth * d.Development + kWeaponShare * kLadderGold[weapon];
    held += d.Owner == faction;
  }
  if (held == 0) return -kWon;
  if (held == kDistrictCount) return kWon;
  // The strongest rival counts against it: it keeps the leader down rather
  // than picking on the weakest, so a table of strong players stays even.
  double rival = 0;
  for (int f = 0; f < kFactionCount; ++f) {
    if (f != faction && holdings[f] > rival) rival = holdings[f];
  }
  return holdings[faction] - rival;
}

// One future of the candidate: the board is copied with nobody at it, and
// the game's own chain of chances plays every faction, as in a spectator game.
double StrongStrategy::Playout(const Board& start, const Decision& candidate, std::uint64_t seed) {
  playoutRandom_.Reseed(seed);
  Board board = start;
  board.PlayerOfFaction.fill(0);
  board.PlayerCount = kSpectatorPlayerCount;
  const int faction = board.Mover().Owner;
  int moves = 0;
  if (CheckBoardAction(board, candidate.action, candidate.value, candidate.target)) {
    bool won =
        ApplyAction(board, candidate.action, candidate.value, candidate.target, playoutRandom_).victory;
    for (; moves < budget_.horizon && !won; ++moves) {
      AdvanceMover(board);
      won = PlayNormalMove(board);
    }
  }
  const double score = Score(board, faction);
  if (score >= kWon) return score - kEndPerMove * moves;
  if (score <= -kWon) return score + kEndPerMove * moves;
  return score;
}

// The mover's move as 普通 plays it, checked as in the game; true when it
// won the town.
bool StrongStrategy::PlayNormalMove(Board& board) {
  const std::optional<Decision> decision = normal_.Decide(board, playoutRandom_);
  if (!decision || !CheckBoardAction(board, decision->action, decision->value, decision->target))
    return false;
  return ApplyAction(board, decision->action, decision->value, decision->target, playoutRandom_).victory;
}

std::optional<Decision> StrongStrategy::Decide(const Board& board, RandomSource&) {
  Candidates(board, candidates_);
  if (candidates_.empty()) return std::nullopt;
  const std::uint64_t base = own_.NextBits();
  if (candidates_.size() == 1) return candidates_.front();
  double best = 0;
  std::size_t bestIndex = 0;
  int tied = 1;
  for (std::size_t c = 0; c < candidates_.size(); ++c) {
    double total = 0;
    for (int k = 0; k < budget_.playouts; ++k) {
      total += Playout(board, candidates_[c], base + 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(k));
    }
    if (c == 0 || total > best) {
      best = total;
      bestIndex = c;
      tied = 1;
    } else if (total == best) {
      // Equal totals happen (the same end in every future). Taking the
      // first would always strike the lowest enemy district; each of the
      // tied candidates is as likely instead.
      if (own_.Next() * ++tied < 1.0) bestIndex = c;
    }
  }
  return candidates_[bestIndex];
}

}  // namespace yuunagi
