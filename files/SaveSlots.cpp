#include "files/SaveSlots.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/MainForm.h"
#include "core/WarRecordWindow.h"
#include "files/SaveFile.h"
#include "files/SaveSlotPanel.h"
#include "files/Text.h"

namespace yuunagi {
namespace {

// A slot that cannot be continued is captioned so, not as a game: short
// enough for the slot's width.
constexpr const char* kUnusableCaption = "読めないデータ";

// What slot `slot` holds. A slot file of no bytes is an empty slot, as a
// missing one is: the game has always treated the two alike.
SaveToContinue ReadSlot(MainForm& form, int slot) {
  SaveToContinue save = ReadSlotToContinue(form.SaveFolder(), slot);
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(SaveSlotFile(form.SaveFolder(), slot), ec);
  if (save.state == SaveState::Unusable && !ec && size == 0) save.state = SaveState::Empty;
  return save;
}

std::string Caption(const SaveToContinue& save) {
  switch (save.state) {
    case SaveState::Game:
      return FitText(save.record.ScenarioName, 14) + " Turn " + std::to_string(save.record.TurnNumber);
    case SaveState::Unusable: return kUnusableCaption;
    case SaveState::Empty: break;
  }
  return "データなし";
}

}  // namespace

void ShowSaveSlots(MainForm& form) {
  std::array<QString, kSaveSlotCount> captions;
  for (int slot = 0; slot < kSaveSlotCount; ++slot) captions[slot] = ToQString(Caption(ReadSlot(form, slot)));
  form.SlotPanel().ShowSlots(captions, form.Data().SaveSlot);
}

bool ContinueSavedGame(MainForm& form) {
  const SaveToContinue save = ReadSlot(form, form.Data().SaveSlot);
  if (save.state == SaveState::Empty) {
    form.ShowMessageBox("セーブデータがありません。");
    return false;
  }
  // Why a slot cannot be continued goes in a box: the slot panel would hide
  // most of the message line.
  if (save.state == SaveState::Unusable) {
    form.ShowMessageBox("このセーブデータは続けられません。\r" + save.reason);
    return false;
  }
  if (!save.sizeNote.empty()) form.ShowMessageBox(save.sizeNote);
  form.SlotPanel().hide();
  form.RecordWindow().RestoreBeside(SaveSlotFile(form.SaveFolder(), form.Data().SaveSlot), save.record);
  form.Game().ContinueFromSaveData(save.record);
  return true;
}

}  // namespace yuunagi
