#include "files/SaveSlots.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "core/MainForm.h"
#include "core/MessagePanel.h"
#include "files/Playability.h"
#include "files/SaveFile.h"
#include "files/SaveSlotPanel.h"
#include "files/Text.h"

namespace yuunagi {
namespace {

// Reads `slot` into `save`. False, with `problem` left empty, for a slot that
// is simply not there (an empty slot); false with the reason for a slot that
// is there but cannot be read (a folder, a pipe, no permission).
bool ReadSlot(MainForm& form, int slot, SaveRecord& save, std::string& problem) {
  std::string error;
  problem.clear();
  if (AccessSaveSlot(form.SaveFolder(), slot, kReadSlot, save, &error)) return true;
  std::error_code ec;
  const auto status = std::filesystem::status(SaveSlotFile(form.SaveFolder(), slot), ec);
  if (status.type() != std::filesystem::file_type::not_found) problem = error;
  return false;
}

}  // namespace

void ShowSaveSlots(MainForm& form) {
  std::array<QString, kSaveSlotCount> captions;
  for (int slot = 0; slot < kSaveSlotCount; ++slot) {
    std::string caption = "データなし", problem;
    SaveRecord save;
    if (ReadSlot(form, slot, save, problem) && save.TurnNumber != 0) {
      caption = FitText(save.ScenarioName, 14) + " Turn " + std::to_string(save.TurnNumber);
    }
    captions[slot] = ToQString(caption);
  }
  form.SlotPanel().ShowSlots(captions, form.Data().SaveSlot);
}

bool ContinueSavedGame(MainForm& form) {
  SaveRecord save;
  std::string problem;
  const bool read = ReadSlot(form, form.Data().SaveSlot, save, problem);
  if (!problem.empty()) {  // the slot holds something, but it cannot be read: say why
    form.SetMessage(problem);
    form.MessageLine().show();
    return false;
  }
  if (!read || save.TurnNumber == 0) {
    form.ShowMessageBox("セーブデータがありません。");
    return false;
  }
  if (const std::optional<std::string> unplayable = CheckSave(save)) {
    form.ShowMessageBox("このセーブデータは続けられません。\r" + *unplayable);
    return false;
  }
  form.SlotPanel().hide();
  form.Game().ContinueFromSaveData(save);
  return true;
}

}  // namespace yuunagi
