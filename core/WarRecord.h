// The war record: every report of a game in order, who made it and in which
// turn, and one sample of the board per turn (districts held and soldiers of
// each faction) for the record window's chart. It keeps a whole game in
// memory, however long: an entry is a dozen bytes plus its text, and the
// texts lie end to end in one buffer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/GameState.h"

namespace yuunagi {

// The faction of a line the game itself says ("戦闘開始!!", a fall, the victory).
constexpr int kGameLine = -1;

// One line of the record, as read back.
struct RecordEntry {
  int turn = 0;
  int faction = kGameLine;  // the faction that acted, or kGameLine
  int player = 0;           // the human player n of "<nP>", 0 for the computer
  std::string_view text;    // an action report without its "<faction>の戦略: " head
};

// The board as it stood in one turn: at the latest move seen in that turn.
struct TurnSample {
  std::int16_t turn = 0;
  std::array<std::int8_t, kFactionCount> districts{};  // districts held
  std::array<std::int32_t, kFactionCount> soldiers{};  // soldiers of all its districts
};

class WarRecord {
 public:
  // ---- What the game says, as its host hears it ----
  // The message line. An action report "<faction>の戦略: …" is recorded as
  // that faction's (with its human player, if any); any other line as the
  // game's own. The board is sampled after it, and a faction that has just
  // lost its last district gets the line "<faction>は滅亡した。".
  void RecordMessage(const GameData& data, std::string_view text);
  // A message box (a fall, the end of the game): the game's own line, unless
  // the record has just said the same.
  void RecordMessageBox(const GameData& data, std::string_view text);
  // A new turn begins: its first sample.
  void RecordTurn(const GameData& data);

  // ---- The parts ----
  void AddReport(int turn, int faction, int player, std::string_view text);
  // The sample of `turn`; a later sample of the same turn replaces it.
  void Sample(int turn, const std::array<DistrictRecord, kDistrictCount>& districts);
  void Clear();

  std::size_t Size() const { return entries_.size(); }
  RecordEntry Entry(std::size_t i) const;
  const std::vector<TurnSample>& Samples() const { return samples_; }
  // The human player of each faction at the latest report (0: the computer).
  const std::array<std::int8_t, kFactionCount>& Players() const { return players_; }
  // Factions that held a district in any sample.
  bool Seen(int faction) const { return (seen_ >> faction) & 1U; }

  // Heap bytes held (capacity, not size), for the measurements.
  std::size_t MemoryBytes() const;

 private:
  struct Stored {
    std::uint32_t offset;  // into text_
    std::uint16_t length;
    std::int16_t turn;
    std::int8_t faction;
    std::int8_t player;
  };

  // Samples the board; a faction that held districts before and holds none
  // now has fallen.
  void SampleBoard(const GameData& data);

  std::vector<Stored> entries_;
  std::string text_;
  std::vector<TurnSample> samples_;
  std::array<std::int8_t, kFactionCount> players_{};
  unsigned seen_ = 0;
};

// "Turn 12  ヒノデ<1P>: …" — one entry as a plain line.
std::string RecordLine(const RecordEntry& entry);

}  // namespace yuunagi
