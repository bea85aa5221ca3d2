// Save slots: the 130-byte record of a game in progress and the four slot
// files Save0.sav .. Save3.sav in the save folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "files/Records.h"

namespace yuunagi {

constexpr int kSaveSlotCount = 4;

// What AccessSaveSlot does with the slot.
constexpr int kReadSlot = 0;
constexpr int kWriteSlot = 1;

// The record as bytes on disk: exactly kSaveRecordSize bytes.
std::string EncodeSave(const SaveRecord& record);
// The record from file bytes. Missing bytes of a short file count as zero;
// bytes past the record are ignored. Texts lose their padding blanks.
SaveRecord DecodeSave(std::string_view bytes);

// The file of slot `slot` (0..3) in `saveFolder`: "Save<slot>.sav".
std::filesystem::path SaveSlotFile(const std::filesystem::path& saveFolder, int slot);

// The autosave beside the slots: a record of the same layout, never a slot.
inline constexpr std::string_view kAutosaveFileName = "Autosave.sav";

// Removes what killed writes left in the save folder: the hidden temporaries
// of the slots, the autosave and the war records (".rec") beside them, so
// any save clears them all.
void RemoveSaveFolderLeftovers(const std::filesystem::path& saveFolder);

// Reads (mode kReadSlot) or writes (mode kWriteSlot) one slot.
//
// Reading returns true when the slot file was read into `data`; a short or
// empty file reads as zeros, i.e. TurnNumber 0, an empty slot. It returns
// false, leaving `data` as it was, when there is nothing to read: no slot
// file or no save folder (an empty slot as well), or a file that cannot be
// read. Reading never creates or changes a file.
//
// Writing creates the save folder if it is missing and replaces the slot
// atomically with the record; up to 64 KiB that a longer old file held after
// the record are kept. A slot that is a link keeps it: the file it leads to
// is replaced. Refused, the slot left as it is: a longer tail, a link to
// nowhere, a slot without write permission (read-only, for the super-user
// too), a folder or anything else that is no plain file. A file-size limit
// fails the write like a full disk. On failure the old slot stays whole.
//
// A slot outside 0..3 or an unknown mode gives false. On false, `error` (when
// given) receives one line saying why.
bool AccessSaveSlot(const std::filesystem::path& saveFolder, int slot, int mode, SaveRecord& data,
                    std::string* error = nullptr);

// Reads a save record from a file given by its path (any name). A file
// shorter than the record is refused with one line in `error`; a longer one is
// read up to the record, and `sizeNote` (when given) receives one line saying
// so, or "" for a file of the record's size.
std::optional<SaveRecord> ReadSaveFile(const std::filesystem::path& file, std::string* error = nullptr,
                                       std::string* sizeNote = nullptr);

// What a save holds for つづきから.
enum class SaveState {
  Empty,     // no file there, or a record with TurnNumber 0
  Game,      // a game that can be continued
  Unusable,  // a file that cannot be read, is too short, or fails the playability check
};

struct SaveToContinue {
  SaveState state = SaveState::Empty;
  SaveRecord record;     // the game, when there is one
  std::string reason;    // without a game: one line saying why there is none
  std::string sizeNote;  // with a game: a note on a file longer than the record, or ""
  bool CanContinue() const { return state == SaveState::Game; }
};

// Reads the save `file` and judges whether it holds a game to continue.
// Nothing is created or changed.
SaveToContinue ReadSaveToContinue(const std::filesystem::path& file);

// The same for slot `slot` (0..3) of `saveFolder`.
SaveToContinue ReadSlotToContinue(const std::filesystem::path& saveFolder, int slot);

// Writes `record` as the whole of `file`, atomically.
bool WriteSaveFile(const std::filesystem::path& file, const SaveRecord& record, std::string* error = nullptr);

}  // namespace yuunagi
