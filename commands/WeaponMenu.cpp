#include "commands/WeaponMenu.h"

#include <array>
#include <string>
#include <string_view>

#include "commands/ActionPanel.h"
#include "commands/WeaponPanel.h"
#include "core/MainForm.h"
#include "core/PanelFocus.h"
#include "core/StatusPanel.h"

namespace yuunagi {
namespace {

// Hints of the weapon buttons, by level minus one.
constexpr std::array<std::string_view, kWeaponLevels> kHints = {"殴ります。", "剣で攻撃します。",
                                                                "銃で攻撃します。", "ミサイルで攻撃します。",
                                                                "核ミサイルで攻撃します。"};

}  // namespace

WeaponMenu::WeaponMenu(MainForm& form) : form_(form) {
  WeaponPanel& menu = form.WeaponMenuPanel();
  QObject::connect(&menu, &WeaponPanel::weaponChosen, &form, [this](int level) { Choose(level); });
  QObject::connect(&menu, &WeaponPanel::cancelled, &form, [this] { Cancel(); });
  QObject::connect(&menu, &WeaponPanel::weaponPointed, &form, [this](int level) { ShowHint(level); });
  for (int i = 0; i < kDistrictCount; ++i) {
    QObject::connect(&form.Status(i), &PictureBox::MouseReleased, &form,
                     [this, i](Qt::MouseButton button) { TargetClicked(i, button); });
  }
  QObject::connect(&form, &PictureBox::MouseReleased, &form,
                   [this](Qt::MouseButton button) { BackgroundClicked(button); });
}

void WeaponMenu::ShowHint(int level) {
  if (level < 1 || level > kWeaponLevels) return;
  std::string hint(kHints[level - 1]);
  hint += "（ダメージ = ";
  hint += std::to_string(Damage(form_.Game().Mover().Strength, level));
  hint += " 費用 = ";
  hint += std::to_string(AttackCost[level - 1]);
  hint += "）";
  form_.SetMessage(hint);
}

void WeaponMenu::Cancel() {
  HidePanel(form_.WeaponMenuPanel());
  form_.ActionMenuPanel().show();
}

void WeaponMenu::Choose(int level) {
  if (const ActionCheck check = form_.Game().BeginTargeting(static_cast<i16>(level)); !check) {
    form_.SetMessage(check.Text());
    return;
  }
  HidePanel(form_.WeaponMenuPanel());
  form_.SetMessage("攻撃対象をクリックしてください!!(右クリック キャンセル)");
}

void WeaponMenu::TargetClicked(int district, Qt::MouseButton button) {
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

void WeaponMenu::BackgroundClicked(Qt::MouseButton button) {
  if (form_.Game().ContinueAfterAction()) return;
  if (button == Qt::RightButton) form_.CancelTarget();
}

}  // namespace yuunagi
