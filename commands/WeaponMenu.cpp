#include "commands/WeaponMenu.h"

#include <array>
#include <string>
#include <string_view>

#include "core/MainForm.h"

namespace yuunagi {
namespace {

// Hints of the weapon buttons, by level minus one.
constexpr std::array<std::string_view, kWeaponLevels> kHints = {"殴ります。", "剣で攻撃します。",
                                                                "銃で攻撃します。", "ミサイルで攻撃します。",
                                                                "核ミサイルで攻撃します。"};

}  // namespace

WeaponMenu::WeaponMenu(MainForm& form) : form_(form) {
  for (int k = 0; k < static_cast<int>(form.Command4.size()); ++k) {
    QObject::connect(form.Command4[k], &QPushButton::clicked, &form, [this, k] { Command4_Click(k); });
    QObject::connect(form.Command4[k], &GraphicButton::Hovered, &form, [this, k] { Command4_MouseMove(k); });
  }
  for (int i = 0; i < kDistrictCount; ++i) {
    QObject::connect(form.Picture3[i], &PictureBox::MouseReleased, &form,
                     [this, i](Qt::MouseButton button) { Picture3_MouseUp(i, button); });
  }
  QObject::connect(&form, &PictureBox::MouseReleased, &form,
                   [this](Qt::MouseButton button) { Form_MouseUp(button); });
}

void WeaponMenu::Command4_MouseMove(int level) {
  if (level < 1 || level > kWeaponLevels) return;
  std::string hint(kHints[level - 1]);
  hint += "（ダメージ = ";
  hint += std::to_string(Damage(form_.Game().Mover().Strength, level));
  hint += " 費用 = ";
  hint += std::to_string(AttackCost[level - 1]);
  hint += "）";
  form_.SetMessage(hint);
}

void WeaponMenu::Command4_Click(int level) {
  if (form_.Picture5->isHidden()) return;  // a hidden panel never acts
  if (level == 0) {
    form_.HidePanel(form_.Picture5);
    form_.Picture4->show();
    return;
  }
  if (const ActionCheck check = form_.Game().BeginTargeting(static_cast<i16>(level)); !check) {
    form_.SetMessage(check.Text());
    return;
  }
  form_.HidePanel(form_.Picture5);
  form_.SetMessage("攻撃対象をクリックしてください!!(右クリック キャンセル)");
}

void WeaponMenu::Picture3_MouseUp(int district, Qt::MouseButton button) {
  Engine& game = form_.Game();
  if (game.ContinueAfterAction()) return;
  if (game.Data().GameState != Phase::AwaitingTarget) return;
  if (button == Qt::LeftButton) {
    // The engine refuses a district of the attacker's own faction; the prompt stays.
    game.ExecuteAction(Action::Attack, game.Data().SelectedCommand, static_cast<i16>(district));
  } else if (button == Qt::RightButton) {
    form_.CancelTarget();
  }
}

void WeaponMenu::Form_MouseUp(Qt::MouseButton button) {
  if (form_.Game().ContinueAfterAction()) return;
  if (button == Qt::RightButton) form_.CancelTarget();
}

}  // namespace yuunagi
