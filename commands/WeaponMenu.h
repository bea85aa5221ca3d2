// The weapon panel of an attack (Picture5) and the clicks on the board that
// follow: picking the target on a status panel, cancelling with the right
// button, and the click after a human action that starts the next move.
#pragma once

#include <Qt>

namespace yuunagi {

class MainForm;

class WeaponMenu {
 public:
  explicit WeaponMenu(MainForm& form);

  // The pointer came over weapon button k: damage and price of that weapon.
  void Command4_MouseMove(int level);
  // キャンセル (0) or the weapon of level k (1..5).
  void Command4_Click(int level);
  // A mouse button released over the status panel of district i.
  void Picture3_MouseUp(int district, Qt::MouseButton button);
  // A mouse button released over the window background.
  void Form_MouseUp(Qt::MouseButton button);

 private:
  MainForm& form_;
};

}  // namespace yuunagi
