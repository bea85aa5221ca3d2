#include "files/SaveFile.h"

#include <array>
#include <system_error>
#include <utility>
#include <vector>

#include "files/Cp932.h"
#include "files/Playability.h"
#include "files/RecordFile.h"
#include "files/RecordLayout.h"
#include "files/TemporaryFiles.h"

namespace yuunagi {

namespace fs = std::filesystem;

namespace {

std::string NoSuchSlot(int slot) {
  return "セーブスロット " + std::to_string(slot) + " はありません。スロットは 0～3 です。";
}

// Reads the slot as the window always has: a short or empty file as zeros.
bool ReadSlot(const fs::path& file, SaveRecord& data, std::string* error) {
  std::string bytes;
  if (!record_file::ReadRecordBytes(file, kSaveRecordSize, bytes, error)) return false;
  data = DecodeSave(bytes);
  return true;
}

// Replaces the slot, first clearing what killed saves left behind.
bool WriteSlot(const fs::path& saveFolder, const fs::path& file, const SaveRecord& data, std::string* error) {
  std::error_code ec;
  fs::create_directories(saveFolder, ec);
  if (!fs::is_directory(saveFolder, ec)) {
    record_file::SetError(error, "セーブフォルダ " + record_file::Quote(saveFolder) + " を作れません。");
    return false;
  }
  RemoveSaveFolderLeftovers(saveFolder);
  return record_file::ReplaceFileAtomically(file, EncodeSave(data), error,
                                            static_cast<long>(kSaveRecordSize));
}

}  // namespace

std::string EncodeSave(const SaveRecord& record) {
  return EncodeRecord(record, kSaveLayout, kSaveRecordSize);
}

SaveRecord DecodeSave(std::string_view bytes) { return DecodeRecord(bytes, kSaveLayout, kSaveRecordSize); }

fs::path SaveSlotFile(const fs::path& saveFolder, int slot) {
  return saveFolder / ("Save" + std::to_string(slot) + ".sav");
}

void RemoveSaveFolderLeftovers(const fs::path& saveFolder) {
  std::vector<std::string> names;
  for (int slot = 0; slot <= kSaveSlotCount; ++slot) {
    fs::path file = slot < kSaveSlotCount ? SaveSlotFile(saveFolder, slot) : saveFolder / kAutosaveFileName;
    names.push_back(file.filename().string());
    names.push_back(file.replace_extension(".rec").filename().string());
  }
  record_file::RemoveLeftoverTemporaries(saveFolder, names);
}

std::optional<SaveRecord> ReadSaveFile(const fs::path& file, std::string* error, std::string* sizeNote) {
  std::string bytes;
  if (!record_file::ReadRecordFile(file, kSaveRecordSize, "セーブファイル", bytes, error, sizeNote))
    return std::nullopt;
  return DecodeSave(bytes);
}

bool WriteSaveFile(const fs::path& file, const SaveRecord& record, std::string* error) {
  return record_file::ReplaceFileAtomically(file, EncodeSave(record), error);
}

bool AccessSaveSlot(const fs::path& saveFolder, int slot, int mode, SaveRecord& data, std::string* error) {
  if (slot < 0 || slot >= kSaveSlotCount) {
    record_file::SetError(error, NoSuchSlot(slot));
    return false;
  }
  const fs::path file = SaveSlotFile(saveFolder, slot);
  if (mode == kReadSlot) return ReadSlot(file, data, error);
  if (mode == kWriteSlot) return WriteSlot(saveFolder, file, data, error);
  record_file::SetError(error, "セーブスロットの操作 " + std::to_string(mode) + " はありません。");
  return false;
}

SaveToContinue ReadSaveToContinue(const fs::path& file) {
  SaveToContinue save;
  std::optional<SaveRecord> record = ReadSaveFile(file, &save.reason, &save.sizeNote);
  if (!record) {
    std::error_code ec;
    const bool missing = fs::status(file, ec).type() == fs::file_type::not_found;
    save.state = missing ? SaveState::Empty : SaveState::Unusable;
    return save;
  }
  if (record->TurnNumber == 0) {
    save.reason = "TurnNumber が 0 です。空きスロットなので、つづきから遊べません。";
  } else if (std::optional<std::string> problem = CheckSave(*record)) {
    save.state = SaveState::Unusable;
    save.reason = std::move(*problem);
  } else {
    save.state = SaveState::Game;
    save.record = std::move(*record);
    return save;
  }
  save.sizeNote.clear();
  return save;
}

SaveToContinue ReadSlotToContinue(const fs::path& saveFolder, int slot) {
  if (slot >= 0 && slot < kSaveSlotCount) return ReadSaveToContinue(SaveSlotFile(saveFolder, slot));
  SaveToContinue save;
  save.reason = NoSuchSlot(slot);
  return save;
}

}  // namespace yuunagi
