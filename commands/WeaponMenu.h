// The game logic of an attack: the weapon menu, then the clicks on the board
// that follow: picking the target on a status panel, cancelling with the
// right button, and the click after a human action that starts the next move.
#pragma once

#include <Qt>

namespace yuunagi {

class MainForm;

class WeaponMenu {
 public:
  explicit WeaponMenu(MainForm& form);

  // A mouse button released over the status panel of `district` (or its key 1-6).
  void TargetClicked(int district, Qt::MouseButton button);

 private:
  // The pointer came over the weapon of `level`: its damage and price.
  void ShowHint(int level);
  void Choose(int level);
  void Cancel();
  // A mouse button released over the window background.
  void BackgroundClicked(Qt::MouseButton button);

  MainForm& form_;
};

}  // namespace yuunagi
