#include "core/WarRecord.h"

#include <algorithm>
#include <limits>

namespace yuunagi {
namespace {

constexpr std::string_view kStrategyHead = "の戦略: ";

std::int8_t Small(int v) {
  return static_cast<std::int8_t>(std::clamp(v, int{std::numeric_limits<std::int8_t>::min()},
                                             int{std::numeric_limits<std::int8_t>::max()}));
}

}  // namespace

void WarRecord::AddReport(int turn, int faction, int player, std::string_view text) {
  // A report is one short line; anything longer is cut at a whole character.
  std::size_t length = std::min<std::size_t>(text.size(), std::numeric_limits<std::uint16_t>::max());
  while (length < text.size() && length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
    --length;
  }
  // The texts of some sixty million moves fill the offsets' range: past
  // that, a line keeps its turn and faction but not its words.
  if (text_.size() + length > std::numeric_limits<std::uint32_t>::max()) length = 0;
  const auto offset = static_cast<std::uint32_t>(text_.size());
  text_.append(text.substr(0, length));
  entries_.push_back(Stored{
      offset, static_cast<std::uint16_t>(length), static_cast<std::int16_t>(std::clamp(turn, -32768, 32767)),
      Small(faction >= 0 && faction < kFactionCount ? faction : kGameLine), Small(player)});
}

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
  text_ = {};
  samples_ = {};
  players_ = {};
  seen_ = 0;
}

RecordEntry WarRecord::Entry(std::size_t i) const {
  const Stored& s = entries_[i];
  return RecordEntry{s.turn, s.faction, s.player, std::string_view(text_).substr(s.offset, s.length)};
}

std::size_t WarRecord::MemoryBytes() const {
  return sizeof(*this) + entries_.capacity() * sizeof(Stored) + text_.capacity() +
         samples_.capacity() * sizeof(TurnSample);
}

void WarRecord::SampleBoard(const GameData& data) {
  const std::array<std::int8_t, kFactionCount> before =
      samples_.empty() ? std::array<std::int8_t, kFactionCount>{} : samples_.back().districts;
  Sample(data.TurnNumber, data.Districts);
  for (int f = 0; f < kFactionCount; ++f) {
    if (before[f] > 0 && samples_.back().districts[f] == 0) {
      AddReport(data.TurnNumber, kGameLine, 0, std::string(FactionNames[f]) + "は滅亡した。");
    }
  }
}

void WarRecord::RecordMessage(const GameData& data, std::string_view text) {
  int faction = kGameLine;
  for (int f = 0; f < kFactionCount; ++f) {
    const std::string_view name = FactionNames[f];
    if (text.starts_with(name) && text.substr(name.size()).starts_with(kStrategyHead)) {
      faction = f;
      text.remove_prefix(name.size() + kStrategyHead.size());
      break;
    }
  }
  for (int f = 0; f < kFactionCount; ++f) players_[f] = Small(data.PlayerOfFaction[f]);
  AddReport(data.TurnNumber, faction, faction == kGameLine ? 0 : data.PlayerOfFaction[faction], text);
  SampleBoard(data);
}

void WarRecord::RecordMessageBox(const GameData& data, std::string_view text) {
  SampleBoard(data);
  if (!entries_.empty()) {
    const RecordEntry last = Entry(entries_.size() - 1);
    if (last.faction == kGameLine && last.text == text) return;
  }
  AddReport(data.TurnNumber, kGameLine, 0, text);
}

void WarRecord::RecordTurn(const GameData& data) { SampleBoard(data); }

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
