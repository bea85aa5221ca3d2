// The weapon menu of an attack ～武器選択～: キャンセル and the weapons up to
// the attacker's level.
#pragma once

#include <array>

#include "core/GameState.h"
#include "media/Pictures.h"

namespace yuunagi {

class WeaponPanel : public PictureBox {
  Q_OBJECT
 public:
  explicit WeaponPanel(QWidget* parent);

  // Offers キャンセル and the weapons of level 1 to `level`, and opens.
  void Offer(int level);
  // Whether the button of `level` is offered (0: キャンセル).
  bool Offers(int level) const;
  // The fists take the focus, not キャンセル.
  void FocusFists();

 signals:
  // Only while the menu is shown.
  void weaponChosen(int level);
  void cancelled();
  // The pointer moved over the button of `level` (0: キャンセル), or a key reached it.
  void weaponPointed(int level);

 private:
  std::array<GraphicButton*, kWeaponLevels + 1> buttons_{};  // キャンセル, then by level
};

}  // namespace yuunagi
