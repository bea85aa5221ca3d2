#include "files/Autosave.h"

#include <system_error>

#include "files/SaveFile.h"
#include "files/Text.h"

namespace yuunagi {

namespace fs = std::filesystem;

fs::path AutosaveFile(const fs::path& saveFolder) { return saveFolder / kAutosaveFileName; }

bool WriteAutosave(const fs::path& saveFolder, const SaveRecord& record, std::string* error) {
  std::error_code ec;
  fs::create_directories(saveFolder, ec);
  RemoveSaveFolderLeftovers(saveFolder);
  return WriteSaveFile(AutosaveFile(saveFolder), record, error);
}

void RemoveAutosave(const fs::path& saveFolder) {
  std::error_code ec;
  const fs::path file = AutosaveFile(saveFolder);
  // Only the game's own file: a folder of that name is nobody's autosave.
  if (fs::is_regular_file(fs::symlink_status(file, ec))) fs::remove(file, ec);
}

std::optional<SaveRecord> AutosavedGame(const fs::path& saveFolder) {
  const fs::path file = AutosaveFile(saveFolder);
  std::error_code ec;
  // The game writes it whole; any other size is not of its making.
  if (fs::file_size(file, ec) != kSaveRecordSize || ec) return std::nullopt;
  SaveToContinue save = ReadSaveToContinue(file);
  if (!save.CanContinue()) return std::nullopt;
  return std::move(save.record);
}

std::string SavedGameName(const SaveRecord& record) {
  return FitText(record.ScenarioName, 14) + " Turn " + std::to_string(record.TurnNumber);
}

}  // namespace yuunagi
