#include "files/Playability.h"

#include <array>
#include <cstdint>
#include <set>
#include <string_view>

#include "core/GameState.h"

namespace yuunagi {
namespace {

using Column = std::array<std::int16_t, 6>;

std::string Cell(std::string_view field, int index) {
  return std::string(field) + "(" + std::to_string(index) + ")";
}

// A district's money never falls below zero in play (every price is checked
// against it and income is the development level), and the computer players
// rely on that: with a debt they could find no weapon to pay for.
std::optional<std::string> CheckNotNegative(std::string_view field, const Column& values,
                                            std::string_view what) {
  for (int i = 0; i < 6; ++i)
    if (values[i] < 0)
      return Cell(field, i) + " が " + std::to_string(values[i]) + " です。" + std::string(what) +
             "は 0 以上で指定してください。";
  return std::nullopt;
}

// The checks a scenario's start table and a save's board share.
std::optional<std::string> CheckBoard(std::string_view ownerField, const Column& owners,
                                      std::string_view weaponField, const Column& weapons,
                                      std::string_view moneyField, const Column& money,
                                      std::string_view developmentField, const Column& development) {
  for (int i = 0; i < 6; ++i)
    if (owners[i] < 0 || owners[i] >= kFactionCount)
      return Cell(ownerField, i) + " が " + std::to_string(owners[i]) +
             " です。勢力は 0～5 で指定してください。";
  for (int i = 0; i < 6; ++i)
    if (weapons[i] < 1)
      return Cell(weaponField, i) + " が " + std::to_string(weapons[i]) +
             " です。武器は 1 以上で指定してください。";
  if (auto problem = CheckNotNegative(moneyField, money, "金")) return problem;
  if (auto problem = CheckNotNegative(developmentField, development, "開発")) return problem;
  const std::set<std::int16_t> factions(owners.begin(), owners.end());
  if (factions.size() < 2)
    return std::string(ownerField) + " がすべて " + std::to_string(owners[0]) + " (" +
           std::string(FactionNames[owners[0]]) + ") です。2 つ以上の勢力に地区を持たせてください。";
  return std::nullopt;
}

std::optional<std::string> CheckPlayers(const SaveRecord& save) {
  const Column& players = save.PlayerOfFaction;
  if (save.PlayerCount == kSpectatorPlayerCount) {
    for (int f = 0; f < 6; ++f)
      if (players[f] != 0)
        return Cell("PlayerOfFaction", f) + " が " + std::to_string(players[f]) +
               " です。PlayerCount が 10 (観戦) のときは、すべて 0 にしてください。";
    return std::nullopt;
  }
  if (save.PlayerCount < 1 || save.PlayerCount > kFactionCount)
    return "PlayerCount が " + std::to_string(save.PlayerCount) +
           " です。人数は 1～6 か、観戦なら 10 で指定してください。";
  for (int f = 0; f < 6; ++f) {
    if (players[f] < 0 || players[f] > kFactionCount)
      return Cell("PlayerOfFaction", f) + " が " + std::to_string(players[f]) +
             " です。プレイヤー番号は 0～6 で指定してください。";
    for (int g = 0; g < f; ++g)
      if (players[f] != 0 && players[f] == players[g])
        return Cell("PlayerOfFaction", f) + " が " + Cell("PlayerOfFaction", g) + " と同じ " +
               std::to_string(players[f]) + " です。プレイヤー番号は重ならないようにしてください。";
  }
  // PlayerCount goes down as human factions fall, and the game ends for the
  // humans when it reaches 0: it must count the human factions still holding a district.
  int humansOnBoard = 0;
  for (int f = 0; f < 6; ++f) {
    bool holds = false;
    for (const std::int16_t owner : save.Owner) holds = holds || owner == f;
    if (players[f] != 0 && holds) ++humansOnBoard;
  }
  if (save.PlayerCount != humansOnBoard)
    return "PlayerCount が " + std::to_string(save.PlayerCount) + " ですが、地区を持つ人間の勢力は " +
           std::to_string(humansOnBoard) + " つです。PlayerCount はその数にしてください。";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> CheckScenario(const ScenarioRecord& scenario) {
  return CheckBoard("StartOwner", scenario.StartOwner, "StartWeapon", scenario.StartWeapon, "StartMoney",
                    scenario.StartMoney, "StartDevelopment", scenario.StartDevelopment);
}

std::optional<std::string> CheckSave(const SaveRecord& save) {
  if (auto problem = CheckBoard("Owner", save.Owner, "Weapon", save.Weapon, "Money", save.Money,
                                "Development", save.Development)) {
    return problem;
  }
  if (save.CurrentDistrict < 0 || save.CurrentDistrict >= kDistrictCount)
    return "CurrentDistrict が " + std::to_string(save.CurrentDistrict) +
           " です。地区は 0～5 で指定してください。";
  return CheckPlayers(save);
}

}  // namespace yuunagi
