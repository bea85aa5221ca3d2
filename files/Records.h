// In-memory forms of the two data files: a scenario (what a new game starts
// from) and a save slot (a game in progress). Texts are UTF-8 here; on disk
// they are fixed-width code page 932 fields padded with blanks.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace yuunagi {

// Sizes of the records on disk.
constexpr std::size_t kScenarioRecordSize = 414;
constexpr std::size_t kSaveRecordSize = 130;

struct ScenarioRecord {
  std::int16_t StartTurn = 0;
  std::string Music;                          // 20-byte field
  std::string Description;                    // 200-byte field
  std::array<std::string, 6> DifficultyText;  // 20-byte fields, one per start row
  std::array<std::int16_t, 6> StartOwner{};
  std::array<std::int16_t, 6> StartMoney{};
  std::array<std::int16_t, 6> StartSoldiers{};
  std::array<std::int16_t, 6> StartStrength{};
  std::array<std::int16_t, 6> StartWeapon{};
  std::array<std::int16_t, 6> StartDevelopment{};
  friend bool operator==(const ScenarioRecord&, const ScenarioRecord&) = default;
};

struct SaveRecord {
  std::int16_t TurnNumber = 0;  // 0 marks an empty slot
  std::string MusicName;        // 20-byte field
  std::string ScenarioName;     // 20-byte field
  std::array<std::int16_t, 6> Owner{};
  std::array<std::int16_t, 6> Money{};
  std::array<std::int16_t, 6> Soldiers{};
  std::array<std::int16_t, 6> Strength{};
  std::array<std::int16_t, 6> Weapon{};
  std::array<std::int16_t, 6> Development{};
  std::int16_t CurrentDistrict = 0;
  std::array<std::int16_t, 6> PlayerOfFaction{};
  std::int16_t PlayerCount = 0;
  friend bool operator==(const SaveRecord&, const SaveRecord&) = default;
};

}  // namespace yuunagi
