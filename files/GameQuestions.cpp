#include "files/GameQuestions.h"

#include <optional>
#include <string>

#include "core/MainForm.h"
#include "core/PanelFocus.h"
#include "core/SpeedBar.h"
#include "core/WarRecordWindow.h"
#include "files/Autosave.h"
#include "files/SaveFile.h"
#include "files/TitleButtons.h"

namespace yuunagi {

bool OfferAutosavedGame(MainForm& form) {
  const std::optional<SaveRecord> save = AutosavedGame(form.SaveFolder());
  if (!save) return false;
  if (!form.AskYesNo("前回のゲーム「" + SavedGameName(*save) + "」が残っています。\r続きから遊びますか？")) {
    return false;
  }
  // The title gives way as it does for つづきから, and the game starts at the kept move.
  HidePanel(form.TitleMenu());
  form.SpeedPanel().hide();
  form.Game().SetStartMode(1);
  form.RecordWindow().RestoreBeside(AutosaveFile(form.SaveFolder()), *save);
  return form.Game().ContinueFromSaveData(*save);
}

bool ConfirmNewGameInSlot(MainForm& form) {
  const SaveToContinue slot = ReadSlotToContinue(form.SaveFolder(), form.Data().SaveSlot);
  if (!slot.CanContinue()) return true;
  return form.AskYesNo("このセーブファイルには「" + SavedGameName(slot.record) +
                       "」が入っています。\r新しいゲームで上書きしますか？");
}

}  // namespace yuunagi
