#include "core/WarRecord.h"

#include <algorithm>
#include <limits>

namespace yuunagi {
namespace {

std::int8_t Small(int v) {
  return static_cast<std::int8_t>(std::clamp(v, int{std::numeric_limits<std::int8_t>::min()},
                                             int{std::numeric_limits<std::int8_t>::max()}));
}

}  // namespace

void WarRecord::Sample(int turn, const std::array<DistrictRecord, kDistrictCount>& districts) {
  TurnSample sample;
  sample.turn = static_cast<std::int16_t>(std::clamp(turn, -32768, 32767));
  for (const DistrictRecord& d : districts) {
    if (d.Owner < 0 || d.Owner >= kFactionCount) continue;
    ++sample.districts[d.Owner];
    sample.soldiers[d.Owner] += d.Soldiers;
    seen_ |= 1U << d.Owner;
  }
  if (samples_.empty() || sample.turn > samples_.back().turn) {
    samples_.push_back(sample);
  } else if (sample.turn == samples_.back().turn) {
    samples_.back() = sample;
  }  // an earlier turn than the last cannot come in one game: not drawn
}

void WarRecord::Clear() {
  entries_ = {};
  samples_ = {};
  players_ = {};
  seen_ = 0;
}

RecordEntry WarRecord::Entry(std::size_t i) const {
  const Stored& s = entries_[i];
  switch (s.kind) {
    case LineKind::Action:
      return RecordEntry{s.report.turn, s.report.moverFaction, s.player, ActionText(s.report)};
    case LineKind::GameLine:
      return RecordEntry{s.report.turn, kGameLine, 0,
                         std::string(GameLineText(static_cast<GameLine>(s.code)))};
    case LineKind::Notice: break;
  }
  return RecordEntry{s.report.turn, kGameLine, 0,
                     NoticeText(Notice{static_cast<NoticeKind>(s.code), s.faction})};
}

std::size_t WarRecord::MemoryBytes() const {
  return sizeof(*this) + entries_.capacity() * sizeof(Stored) + samples_.capacity() * sizeof(TurnSample);
}

void WarRecord::SampleBoard(const Board& board) {
  const std::array<std::int8_t, kFactionCount> before =
      samples_.empty() ? std::array<std::int8_t, kFactionCount>{} : samples_.back().districts;
  Sample(board.TurnNumber, board.Districts);
  for (int f = 0; f < kFactionCount; ++f) {
    if (before[f] > 0 && samples_.back().districts[f] == 0) {
      Stored fall{};
      fall.report.turn = board.TurnNumber;
      fall.kind = LineKind::Notice;
      fall.code = static_cast<std::int8_t>(NoticeKind::FactionDestroyed);
      fall.faction = static_cast<std::int8_t>(f);
      Add(fall);
    }
  }
}

void WarRecord::UpdatePlayers(const Board& board) {
  for (int f = 0; f < kFactionCount; ++f) players_[f] = Small(board.PlayerOfFaction[f]);
}

void WarRecord::RecordAction(const Board& board, const ActionReport& report) {
  UpdatePlayers(board);
  Stored entry{};
  entry.report = report;
  entry.report.turn = board.TurnNumber;
  entry.player = players_[report.moverFaction];
  entry.kind = LineKind::Action;
  Add(entry);
  SampleBoard(board);
}

void WarRecord::RecordGameLine(const Board& board, GameLine line) {
  UpdatePlayers(board);
  Stored entry{};
  entry.report.turn = board.TurnNumber;
  entry.kind = LineKind::GameLine;
  entry.code = static_cast<std::int8_t>(line);
  Add(entry);
  SampleBoard(board);
}

void WarRecord::RecordNotice(const Board& board, const Notice& notice) {
  SampleBoard(board);
  const std::string text = NoticeText(notice);
  if (!entries_.empty()) {
    const RecordEntry last = Entry(entries_.size() - 1);
    if (last.faction == kGameLine && last.text == text) return;
  }
  Stored entry{};
  entry.report.turn = board.TurnNumber;
  entry.kind = LineKind::Notice;
  entry.code = static_cast<std::int8_t>(notice.kind);
  entry.faction = static_cast<std::int8_t>(notice.faction);
  Add(entry);
}

void WarRecord::RecordTurn(const Board& board) { SampleBoard(board); }

void WarRecord::RecordNotKept(int turn) {
  Stored entry{};
  entry.report.turn = static_cast<i16>(turn);
  entry.kind = LineKind::GameLine;
  entry.code = static_cast<std::int8_t>(GameLine::RecordNotKept);
  Add(entry);
}

std::string RecordLine(const RecordEntry& entry) {
  std::string line = "Turn " + std::to_string(entry.turn) + "  ";
  if (entry.faction != kGameLine) {
    line.append(FactionNames[entry.faction]);
    if (entry.player > 0) line.append("<").append(std::to_string(entry.player)).append("P>");
    line += ": ";
  }
  line.append(entry.text);
  return line;
}

}  // namespace yuunagi
