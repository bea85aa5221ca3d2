// The autosave: one record beside the four slots, in the slots' own layout,
// that keeps a running game with human players whatever happens to the
// program. It is never one of the slots and never shown as one.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "files/Records.h"

namespace yuunagi {

// "Autosave.sav" in `saveFolder`.
std::filesystem::path AutosaveFile(const std::filesystem::path& saveFolder);

// Replaces the autosave with `record`, atomically; makes the save folder when
// it is missing. On failure the old autosave stays whole and `error` says why.
bool WriteAutosave(const std::filesystem::path& saveFolder, const SaveRecord& record,
                   std::string* error = nullptr);

// The game is over: there is nothing left to keep.
void RemoveAutosave(const std::filesystem::path& saveFolder);

// The autosaved game when there is one to go on with: a whole record of an
// unfinished game that passes the playability check. Nothing is changed.
std::optional<SaveRecord> AutosavedGame(const std::filesystem::path& saveFolder);

// How a save is named on the slot panel: "<scenario> Turn <n>".
std::string SavedGameName(const SaveRecord& record);

}  // namespace yuunagi
