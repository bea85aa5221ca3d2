#include "files/SaveSlots.h"

#include <optional>
#include <string>

#include "core/MainForm.h"
#include "files/Playability.h"
#include "files/SaveFile.h"
#include "media/Text.h"

namespace yuunagi {

void ShowSaveSlots(MainForm& form) {
  for (int slot = 0; slot < kSaveSlotCount; ++slot) {
    std::string caption = "データなし";
    SaveRecord save;
    if (AccessSaveSlot(form.SaveFolder(), slot, kReadSlot, save) && save.TurnNumber != 0) {
      caption = FitText(save.ScenarioName, 14) + " Turn " + std::to_string(save.TurnNumber);
    }
    form.Option1[slot]->setText(ToQString(caption));
  }
  form.Picture8->show();
  form.Option1[form.Data().SaveSlot]->setChecked(true);
}

bool ContinueSavedGame(MainForm& form) {
  SaveRecord save;
  if (!AccessSaveSlot(form.SaveFolder(), form.Data().SaveSlot, kReadSlot, save) || save.TurnNumber == 0) {
    form.ShowMessageBox("セーブデータがありません。");
    return false;
  }
  if (const std::optional<std::string> problem = CheckSave(save)) {
    form.ShowMessageBox("このセーブデータは続けられません。\r" + *problem);
    return false;
  }
  form.Picture8->hide();
  form.Game().ContinueFromSaveData(save);
  return true;
}

}  // namespace yuunagi
