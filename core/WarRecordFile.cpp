#include "core/WarRecordFile.h"

#include <sys/stat.h>

#include <cstdint>
#include <optional>

#include "files/RecordFile.h"
#include "files/SaveFile.h"

namespace yuunagi {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMagic = "YNWR";
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kHeadSize = 30;
constexpr std::size_t kLineSize = 20;
constexpr std::size_t kSampleSize = 32;
// One sample per turn, and a turn is a 16-bit number.
constexpr std::size_t kMostSamples = 65536;
constexpr std::size_t kLargestFile = kHeadSize + kMostRecordLines * kLineSize + kMostSamples * kSampleSize;

void Put(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads fixed-width little-endian fields in order; past the end it reads zeros
// (the counts are checked against the size first).
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Unsigned(int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i, ++at_) {
      if (at_ >= bytes_.size()) return 0;
      value |= std::uint64_t{static_cast<unsigned char>(bytes_[at_])} << (8 * i);
    }
    return value;
  }
  std::int8_t I8() { return static_cast<std::int8_t>(Unsigned(1)); }
  std::int16_t I16() { return static_cast<std::int16_t>(Unsigned(2)); }
  std::int32_t I32() { return static_cast<std::int32_t>(Unsigned(4)); }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

bool Within(int value, int low, int high) { return value >= low && value <= high; }

// Ties the record to the one save it was written with: a new game in the
// slot, or a save written without its record, never matches.
std::uint64_t SaveHash(const SaveRecord& save) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : EncodeSave(DecodeSave(EncodeSave(save)))) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  }
  return hash;
}

}  // namespace

// The one place that sees the record's stored lines.
struct WarRecordCodec {
  static void PutLine(std::string& out, const WarRecord::Stored& s);
  static std::optional<WarRecord::Stored> GetLine(Reader& in, int lastTurn);
  static std::optional<TurnSample> GetSample(Reader& in, int lastTurn);
  static std::string Encode(const WarRecord& record, const SaveRecord& save);
  static bool Decode(std::string_view bytes, const SaveRecord& save, WarRecord& record);
};

void WarRecordCodec::PutLine(std::string& out, const WarRecord::Stored& s) {
  const ActionReport& r = s.report;
  for (const int v : {int{r.turn}, int{r.amount}, int{r.damage}, static_cast<int>(r.action)}) {
    Put(out, static_cast<std::uint16_t>(v), 2);
  }
  for (const int v : {r.moverDistrict, r.moverFaction, r.weaponLevel, r.target, r.targetFaction,
                      r.destroyedFaction, std::int8_t{r.captured}, std::int8_t{r.victory}, s.player,
                      static_cast<std::int8_t>(s.kind), s.code, s.faction}) {
    Put(out, static_cast<std::uint8_t>(v), 1);
  }
}

std::optional<WarRecord::Stored> WarRecordCodec::GetLine(Reader& in, int lastTurn) {
  WarRecord::Stored s{};
  ActionReport& r = s.report;
  r.turn = in.I16();
  r.amount = in.I16();
  r.damage = in.I16();
  const int action = in.I16();
  r.moverDistrict = in.I8();
  r.moverFaction = in.I8();
  r.weaponLevel = in.I8();
  r.target = in.I8();
  r.targetFaction = in.I8();
  r.destroyedFaction = in.I8();
  const int captured = in.I8(), victory = in.I8();
  s.player = in.I8();
  const int kind = in.I8();
  s.code = in.I8();
  s.faction = in.I8();
  const bool sound =
      r.turn <= lastTurn && Within(action, 0, 5) && Within(r.moverDistrict, 0, kDistrictCount - 1) &&
      Within(r.moverFaction, 0, kFactionCount - 1) && Within(r.weaponLevel, 0, 5) &&
      Within(r.target, -1, kDistrictCount - 1) && Within(r.targetFaction, -1, kFactionCount - 1) &&
      Within(r.destroyedFaction, -1, kFactionCount - 1) && Within(captured, 0, 1) && Within(victory, 0, 1) &&
      Within(s.player, 0, kFactionCount) && Within(kind, 0, 2) && Within(s.faction, 0, kFactionCount - 1) &&
      Within(s.code, 0,
             kind == 0   ? 0
             : kind == 1 ? static_cast<int>(GameLine::RecordNotKept)
                         : 2);
  if (!sound) return std::nullopt;
  r.action = static_cast<Action>(action);
  r.captured = captured == 1;
  r.victory = victory == 1;
  s.kind = static_cast<WarRecord::LineKind>(kind);
  return s;
}

std::optional<TurnSample> WarRecordCodec::GetSample(Reader& in, int lastTurn) {
  TurnSample sample;
  sample.turn = in.I16();
  bool sound = sample.turn <= lastTurn;
  int held = 0;
  for (std::int8_t& d : sample.districts) {
    d = in.I8();
    held += d;
    sound = sound && Within(d, 0, kDistrictCount);
  }
  for (std::int32_t& s : sample.soldiers) {
    s = in.I32();
    sound = sound && Within(s, kDistrictCount * -32768, kDistrictCount * 32767);
  }
  if (!sound || held > kDistrictCount) return std::nullopt;
  return sample;
}

std::string WarRecordCodec::Encode(const WarRecord& record, const SaveRecord& save) {
  std::string out(kMagic);
  Put(out, kVersion, 2);
  Put(out, static_cast<std::uint16_t>(save.TurnNumber), 2);
  Put(out, SaveHash(save), 8);
  Put(out, record.entries_.size(), 4);
  Put(out, record.samples_.size(), 4);
  for (const std::int8_t p : record.players_) Put(out, static_cast<std::uint8_t>(p), 1);
  for (const WarRecord::Stored& s : record.entries_) PutLine(out, s);
  for (const TurnSample& t : record.samples_) {
    Put(out, static_cast<std::uint16_t>(t.turn), 2);
    for (const std::int8_t d : t.districts) Put(out, static_cast<std::uint8_t>(d), 1);
    for (const std::int32_t s : t.soldiers) Put(out, static_cast<std::uint32_t>(s), 4);
  }
  return out;
}

bool WarRecordCodec::Decode(std::string_view bytes, const SaveRecord& save, WarRecord& record) {
  if (bytes.size() < kHeadSize || bytes.substr(0, 4) != kMagic) return false;
  Reader in(bytes.substr(4));
  if (in.Unsigned(2) != kVersion || in.I16() != save.TurnNumber || in.Unsigned(8) != SaveHash(save))
    return false;
  const std::uint64_t lines = in.Unsigned(4), samples = in.Unsigned(4);
  // The counts must fill the file exactly, before anything is allocated.
  if (lines > kMostRecordLines || samples > kMostSamples ||
      bytes.size() != kHeadSize + lines * kLineSize + samples * kSampleSize) {
    return false;
  }
  WarRecord read;
  for (std::int8_t& p : read.players_) {
    p = in.I8();
    if (!Within(p, 0, kFactionCount)) return false;
  }
  read.entries_.reserve(lines);
  for (std::uint64_t i = 0; i < lines; ++i) {
    const std::optional<WarRecord::Stored> line = GetLine(in, save.TurnNumber);
    if (!line || (i > 0 && line->report.turn < read.entries_.back().report.turn)) return false;
    read.entries_.push_back(*line);
  }
  read.samples_.reserve(samples);
  for (std::uint64_t i = 0; i < samples; ++i) {
    const std::optional<TurnSample> sample = GetSample(in, save.TurnNumber);
    if (!sample || (i > 0 && sample->turn <= read.samples_.back().turn)) return false;
    read.samples_.push_back(*sample);
    for (int f = 0; f < kFactionCount; ++f) read.seen_ |= sample->districts[f] > 0 ? 1U << f : 0U;
  }
  record = std::move(read);
  return true;
}

fs::path RecordFileBeside(const fs::path& saveFile) {
  fs::path file = saveFile;
  return file.replace_extension(".rec");
}

std::string EncodeWarRecord(const WarRecord& record, const SaveRecord& save) {
  return WarRecordCodec::Encode(record, save);
}

RecordFileState DecodeWarRecord(std::string_view bytes, const SaveRecord& save, WarRecord& record) {
  return WarRecordCodec::Decode(bytes, save, record) ? RecordFileState::Restored : RecordFileState::Damaged;
}

bool WriteWarRecordFile(const fs::path& saveFile, const WarRecord& record, const SaveRecord& save,
                        std::string* error) {
  if (record.Size() > kMostRecordLines) {
    record_file::SetError(error, "戦況記録が長すぎます。");
    return false;
  }
  return record_file::ReplaceFileAtomically(RecordFileBeside(saveFile), EncodeWarRecord(record, save), error);
}

void RemoveWarRecordFile(const fs::path& saveFile) {
  std::error_code ec;
  const fs::path file = RecordFileBeside(saveFile);
  if (fs::is_regular_file(fs::symlink_status(file, ec))) fs::remove(file, ec);
}

RecordFileState ReadWarRecordFile(const fs::path& saveFile, const SaveRecord& save, WarRecord& record) {
  std::error_code ec;
  const fs::path file = RecordFileBeside(saveFile);
  if (!fs::exists(fs::symlink_status(file, ec))) return RecordFileState::Missing;
  struct stat info {};
  const record_file::Descriptor fd = record_file::OpenPlainFile(file, nullptr, &info);
  if (fd.get() < 0 || info.st_size < 0 || static_cast<std::uintmax_t>(info.st_size) > kLargestFile) {
    return RecordFileState::Damaged;
  }
  std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
  if (record_file::ReadAt(fd.get(), bytes.data(), bytes.size(), 0) != static_cast<long>(bytes.size())) {
    return RecordFileState::Damaged;
  }
  return DecodeWarRecord(bytes, save, record);
}

}  // namespace yuunagi
