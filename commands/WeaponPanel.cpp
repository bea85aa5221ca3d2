#include "commands/WeaponPanel.h"

#include "core/Layout.h"

namespace yuunagi {

WeaponPanel::WeaponPanel(QWidget* parent) : PictureBox(parent) {
  PlacePanel(this, QStringLiteral("weaponMenu"), Twips(5640, 2520, 1935, 2655), false);
  MakeLabel(this, QStringLiteral("weaponMenu.heading"), Twips(360, 120, 1080, 180), "～武器選択～",
            LayoutFont(kDefaultPoints));
  buttons_[0] =
      MakeButton(this, QStringLiteral("weaponMenu.cancel"), Twips(255, 360, 1455, 375), "キャンセル", false);
  for (int level = 1; level <= kWeaponLevels; ++level) {
    buttons_[level] = MakeButton(this, QStringLiteral("weaponMenu.weapon%1").arg(level),
                                 Twips(240, 360 + 360 * level, 1455, 375), WeaponNames[level - 1], false);
  }
  for (int level = 0; level <= kWeaponLevels; ++level) {
    connect(buttons_[level], &QPushButton::clicked, this, [this, level] {
      if (isHidden()) return;  // a hidden panel never acts
      level == 0 ? emit cancelled() : emit weaponChosen(level);
    });
    connect(buttons_[level], &GraphicButton::Hovered, this, [this, level] { emit weaponPointed(level); });
  }
}

void WeaponPanel::Offer(int level) {
  for (int k = 0; k <= kWeaponLevels; ++k) buttons_[k]->setVisible(k <= level);
  show();
}

bool WeaponPanel::Offers(int level) const { return !buttons_[level]->isHidden(); }

void WeaponPanel::FocusFists() { buttons_[1]->setFocus(Qt::OtherFocusReason); }

}  // namespace yuunagi
