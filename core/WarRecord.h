// The war record: every report of a game in order, who made it and in which
// turn, and one sample of the board per turn (districts held and soldiers of
// each faction) for the record window's chart. It keeps a whole game in
// memory, however long: an entry is the engine's report itself, twenty
// bytes, and its words are composed only when a line is read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/GameState.h"
#include "rules/Reports.h"

namespace yuunagi {

// The faction of a line the game itself says ("戦闘開始!!", a fall, the victory).
constexpr int kGameLine = -1;

// One line of the record, as read back.
struct RecordEntry {
  int turn = 0;
  int faction = kGameLine;  // the faction that acted, or kGameLine
  int player = 0;           // the human player n of "<nP>", 0 for the computer
  std::string text;         // an action report without its "<faction>の戦略: " head
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
  // An action, as that faction's line (with its human player, if any). The
  // board is sampled after it, and a faction that has just lost its last
  // district gets the line "<faction>は滅亡した。".
  void RecordAction(const Board& board, const ActionReport& report);
  // A line of the game's own on the message line ("戦闘開始!!"), sampled after it as well.
  void RecordGameLine(const Board& board, GameLine line);
  // A message box (a fall, the end of the game): the game's own line, unless
  // the record has just said the same.
  void RecordNotice(const Board& board, const Notice& notice);
  // A new turn begins: its first sample.
  void RecordTurn(const Board& board);
  // A continued game whose earlier record could not be read: the record
  // starts at `turn`, and says so.
  void RecordNotKept(int turn);

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
  friend struct WarRecordCodec;  // the record file beside a save

  enum class LineKind : std::int8_t { Action, GameLine, Notice };
  struct Stored {
    ActionReport report;  // of a line of the game's own, only the turn counts
    std::int8_t player;   // the acting faction's human player, 0 for the computer
    LineKind kind;
    std::int8_t code;     // the GameLine or NoticeKind
    std::int8_t faction;  // a notice's faction
  };
  static_assert(sizeof(Stored) <= 20, "a line of a long game stays small");

  void Add(const Stored& entry) { entries_.push_back(entry); }
  void UpdatePlayers(const Board& board);
  // Samples the board; a faction that held districts before and holds none
  // now has fallen.
  void SampleBoard(const Board& board);

  std::vector<Stored> entries_;
  std::vector<TurnSample> samples_;
  std::array<std::int8_t, kFactionCount> players_{};
  unsigned seen_ = 0;
};

// "Turn 12  ヒノデ<1P>: …" — one entry as a plain line.
std::string RecordLine(const RecordEntry& entry);

}  // namespace yuunagi
