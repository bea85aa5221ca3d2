// The action menu of a human move (Picture4) and the amount panel it opens
// (Picture6): hints, price checks and refusals, the save command, and the
// hand-over of an accepted action to the engine.
#pragma once

#include "core/GameState.h"

namespace yuunagi {

class MainForm;

class ActionMenu {
 public:
  explicit ActionMenu(MainForm& form);

  // The pointer came over action button k: its hint in the message line.
  void Command3_MouseMove(int index);
  // Action button k: 攻撃, 集金, 町開発, 徴兵, 訓練, 武器開発, セーブ.
  void Command3_Click(int index);
  // 決定 (0) or キャンセル (1) of the amount panel.
  void Command5_Click(int index);

 private:
  void OpenWeaponPanel();
  void AskAmount(Action action);
  void DevelopNextWeapon();
  void SaveGame();
  void ConfirmAmount();

  MainForm& form_;
};

}  // namespace yuunagi
