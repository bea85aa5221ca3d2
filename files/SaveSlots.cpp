#include "files/SaveSlots.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "core/MainForm.h"
#include "files/Playability.h"
#include "files/SaveFile.h"
#include "media/Text.h"

namespace yuunagi {
namespace {

// Reads `slot` into SaveData. False, with `problem` left empty, for a slot
// that is simply not there (an empty slot); false with the reason for a slot
// that is there but cannot be read (a folder, a pipe, no permission).
bool ReadSlot(MainForm& form, int slot, std::string& problem) {
  std::string error;
  problem.clear();
  if (AccessSaveSlot(form.SaveFolder(), slot, kReadSlot, form.Data().SaveData, &error)) return true;
  std::error_code ec;
  const auto status = std::filesystem::status(SaveSlotFile(form.SaveFolder(), slot), ec);
  if (status.type() != std::filesystem::file_type::not_found) problem = error;
  return false;
}

}  // namespace

void ShowSaveSlots(MainForm& form) {
  GameData& data = form.Data();
  for (int slot = 0; slot < kSaveSlotCount; ++slot) {
    std::string caption = "データなし", problem;
    if (ReadSlot(form, slot, problem) && data.SaveData.TurnNumber != 0) {
      caption = FitText(data.SaveData.ScenarioName, 14) + " Turn " + std::to_string(data.SaveData.TurnNumber);
    }
    form.Option1[slot]->setText(ToQString(caption));
  }
  form.Picture8->show();
  form.Option1[data.SaveSlot]->setChecked(true);
}

bool ContinueSavedGame(MainForm& form) {
  GameData& data = form.Data();
  std::string problem;
  const bool read = ReadSlot(form, data.SaveSlot, problem);
  if (!problem.empty()) {  // the slot holds something, but it cannot be read: say why
    form.SetMessage(problem);
    form.Picture11->show();
    return false;
  }
  if (!read || data.SaveData.TurnNumber == 0) {
    form.ShowMessageBox("セーブデータがありません。");
    return false;
  }
  if (const std::optional<std::string> unplayable = CheckSave(data.SaveData)) {
    form.ShowMessageBox("このセーブデータは続けられません。\r" + *unplayable);
    return false;
  }
  form.Picture8->hide();
  form.Game().ContinueFromSaveData();
  return true;
}

}  // namespace yuunagi
