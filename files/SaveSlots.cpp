#include "files/SaveSlots.h"

#include <optional>
#include <string>

#include "core/MainForm.h"
#include "files/Playability.h"
#include "files/SaveFile.h"
#include "media/Text.h"

namespace yuunagi {

void ShowSaveSlots(MainForm& form) {
  GameData& data = form.Data();
  for (int slot = 0; slot < kSaveSlotCount; ++slot) {
    std::string caption = "データなし";
    if (AccessSaveSlot(form.SaveFolder(), slot, kReadSlot, data.SaveData) && data.SaveData.TurnNumber != 0) {
      caption = FitText(data.SaveData.ScenarioName, 14) + " Turn " + std::to_string(data.SaveData.TurnNumber);
    }
    form.Option1[slot]->setText(ToQString(caption));
  }
  form.Picture8->show();
  form.Option1[data.SaveSlot]->setChecked(true);
}

bool ContinueSavedGame(MainForm& form) {
  GameData& data = form.Data();
  if (!AccessSaveSlot(form.SaveFolder(), data.SaveSlot, kReadSlot, data.SaveData) ||
      data.SaveData.TurnNumber == 0) {
    form.ShowMessageBox("セーブデータがありません。");
    return false;
  }
  if (const std::optional<std::string> problem = CheckSave(data.SaveData)) {
    form.ShowMessageBox("このセーブデータは続けられません。\r" + *problem);
    return false;
  }
  form.Picture8->hide();
  form.Game().ContinueFromSaveData();
  return true;
}

}  // namespace yuunagi
