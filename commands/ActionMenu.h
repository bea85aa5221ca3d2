// The game logic of the action menu of a human move and of the amount entry
// it opens: hints, price checks and refusals, the save command, and the
// hand-over of an accepted action to the engine.
#pragma once

#include <QString>

#include "core/GameState.h"

namespace yuunagi {

class MainForm;

class ActionMenu {
 public:
  explicit ActionMenu(MainForm& form);

 private:
  // The pointer came over the button of `action`: its hint in the message line.
  void ShowHint(Action action);
  // The button of `action` was pressed on the open menu.
  void Choose(Action action);
  // セーブ was pressed on the open menu.
  void ChooseSave();
  void OpenWeaponPanel();
  void AskAmount(Action action);
  void DevelopNextWeapon();
  void SaveGame();
  void ConfirmAmount(const QString& text);
  void CancelAmount();

  MainForm& form_;
};

}  // namespace yuunagi
