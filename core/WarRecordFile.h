// The war record kept beside a save: "Save<N>.rec" beside "Save<N>.sav" and
// "Autosave.rec" beside the autosave, so that a continued game shows its
// record from turn 1. Little-endian and of fixed widths:
//   "YNWR", version (u16), the save's turn (i16), a hash of the save (u64),
//   the count of lines (u32) and of turn samples (u32), each faction's human
//   player (6 × i8); then the lines (20 bytes each) and the samples (32 bytes).
// A file is read only when it is wholly sound and belongs to the very save
// beside it; anything else is damaged, never half read.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/WarRecord.h"
#include "files/Records.h"

namespace yuunagi {

// A record of more lines than this (a game of some thousand turns) is
// neither written nor read: the file stays under 5 MB.
constexpr std::size_t kMostRecordLines = 200000;

// The record file that goes with the save file `saveFile`.
std::filesystem::path RecordFileBeside(const std::filesystem::path& saveFile);

// The record as the file's bytes, for the game saved in `save`.
std::string EncodeWarRecord(const WarRecord& record, const SaveRecord& save);

enum class RecordFileState { Restored, Missing, Damaged };

// Reads `bytes` into `record` when they are a sound record of the game
// saved in `save`; `record` is left alone otherwise.
RecordFileState DecodeWarRecord(std::string_view bytes, const SaveRecord& save, WarRecord& record);

// Replaces the record file beside `saveFile` atomically; false with `error`
// when it could not be written (too long a record included).
bool WriteWarRecordFile(const std::filesystem::path& saveFile, const WarRecord& record,
                        const SaveRecord& save, std::string* error = nullptr);

// The game is decided: the record file beside `saveFile` goes with it (only
// a plain file of that name).
void RemoveWarRecordFile(const std::filesystem::path& saveFile);

// The record file beside `saveFile`, read into `record` when it is sound.
RecordFileState ReadWarRecordFile(const std::filesystem::path& saveFile, const SaveRecord& save,
                                  WarRecord& record);

}  // namespace yuunagi
