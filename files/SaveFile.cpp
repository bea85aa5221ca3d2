#include "files/SaveFile.h"

#include <array>
#include <system_error>
#include <utility>

#include "files/Cp932.h"
#include "files/RecordFile.h"

namespace yuunagi {
namespace {

namespace fs = std::filesystem;
using record_file::GetInt16;
using record_file::PutInt16;

// Byte layout of the record.
constexpr std::size_t kTurnNumberAt = 0;
constexpr std::size_t kMusicNameAt = 2, kScenarioNameAt = 22, kTextWidth = 20;
constexpr std::size_t kBoardAt = 42;  // six columns of six numbers
constexpr std::size_t kCurrentDistrictAt = 114;
constexpr std::size_t kPlayerOfFactionAt = 116;
constexpr std::size_t kPlayerCountAt = 128;

// The board's columns in the order they are stored.
constexpr std::array<std::array<std::int16_t, 6> SaveRecord::*, 6> kColumns = {
    &SaveRecord::Owner,    &SaveRecord::Money,  &SaveRecord::Soldiers,
    &SaveRecord::Strength, &SaveRecord::Weapon, &SaveRecord::Development};

}  // namespace

std::string EncodeSave(const SaveRecord& record) {
  std::string bytes(kSaveRecordSize, '\0');
  PutInt16(bytes, kTurnNumberAt, record.TurnNumber);
  bytes.replace(kMusicNameAt, kTextWidth, EncodeField(record.MusicName, kTextWidth));
  bytes.replace(kScenarioNameAt, kTextWidth, EncodeField(record.ScenarioName, kTextWidth));
  std::size_t at = kBoardAt;
  for (const auto column : kColumns)
    for (const std::int16_t value : record.*column) PutInt16(bytes, std::exchange(at, at + 2), value);
  PutInt16(bytes, kCurrentDistrictAt, record.CurrentDistrict);
  for (std::size_t i = 0; i < 6; ++i) PutInt16(bytes, kPlayerOfFactionAt + 2 * i, record.PlayerOfFaction[i]);
  PutInt16(bytes, kPlayerCountAt, record.PlayerCount);
  return bytes;
}

SaveRecord DecodeSave(std::string_view fileBytes) {
  std::string bytes(fileBytes.substr(0, kSaveRecordSize));
  bytes.resize(kSaveRecordSize, '\0');
  const std::string_view view = bytes;
  SaveRecord record;
  record.TurnNumber = GetInt16(view, kTurnNumberAt);
  record.MusicName = DecodeField(view.substr(kMusicNameAt, kTextWidth));
  record.ScenarioName = DecodeField(view.substr(kScenarioNameAt, kTextWidth));
  std::size_t at = kBoardAt;
  for (const auto column : kColumns)
    for (std::int16_t& value : record.*column) value = GetInt16(view, std::exchange(at, at + 2));
  record.CurrentDistrict = GetInt16(view, kCurrentDistrictAt);
  for (std::size_t i = 0; i < 6; ++i) record.PlayerOfFaction[i] = GetInt16(view, kPlayerOfFactionAt + 2 * i);
  record.PlayerCount = GetInt16(view, kPlayerCountAt);
  return record;
}

fs::path SaveSlotFile(const fs::path& saveFolder, int slot) {
  return saveFolder / ("Save" + std::to_string(slot) + ".sav");
}

std::optional<SaveRecord> ReadSaveFile(const fs::path& file, std::string* error) {
  std::string bytes;
  if (!record_file::ReadRecordBytes(file, kSaveRecordSize, bytes, error)) return std::nullopt;
  return DecodeSave(bytes);
}

bool WriteSaveFile(const fs::path& file, const SaveRecord& record, std::string* error) {
  return record_file::ReplaceFileAtomically(file, EncodeSave(record), error);
}

bool AccessSaveSlot(const fs::path& saveFolder, int slot, int mode, SaveRecord& data, std::string* error) {
  if (slot < 0 || slot >= kSaveSlotCount) {
    record_file::SetError(error,
                          "セーブスロット " + std::to_string(slot) + " はありません。スロットは 0～3 です。");
    return false;
  }
  const fs::path file = SaveSlotFile(saveFolder, slot);
  if (mode == kReadSlot) {
    std::optional<SaveRecord> record = ReadSaveFile(file, error);
    if (!record) return false;
    data = std::move(*record);
    return true;
  }
  if (mode == kWriteSlot) {
    std::error_code ec;
    fs::create_directories(saveFolder, ec);
    if (!fs::is_directory(saveFolder, ec)) {
      record_file::SetError(error, "セーブフォルダ " + record_file::Quote(saveFolder) + " を作れません。");
      return false;
    }
    return record_file::ReplaceFileAtomically(file, EncodeSave(data), error,
                                              static_cast<long>(kSaveRecordSize));
  }
  record_file::SetError(error, "セーブスロットの操作 " + std::to_string(mode) + " はありません。");
  return false;
}

}  // namespace yuunagi
