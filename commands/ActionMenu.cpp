#include "commands/ActionMenu.h"

#include <QApplication>

#include <string>
#include <string_view>

#include "commands/ActionPanel.h"
#include "commands/AmountPanel.h"
#include "commands/AmountText.h"
#include "commands/WeaponPanel.h"
#include "core/MainForm.h"
#include "core/PanelFocus.h"
#include "core/WarRecordWindow.h"
#include "files/SaveFile.h"

namespace yuunagi {
namespace {

// Hints of the actions; 武器開発's depends on the district and is made apart.
std::string_view Hint(Action action) {
  switch (action) {
    case Action::Attack: return "敵の勢力を攻撃します。";
    case Action::Collect: return "民から金を集金します。";
    case Action::Develop: return "町を開発します。";
    case Action::Hire: return "兵士を雇います。";
    default: return "兵士を訓練します。";
  }
}

// What one unit of 町開発, 徴兵 and 訓練 costs, shown when the amount is asked for.
std::string_view RateNote(Action action) {
  switch (action) {
    case Action::Develop: return "相場: 開発1 - 金10";
    case Action::Hire: return "相場: 兵士1 - 金1";
    default: return "相場: 強さ1 - 金10";
  }
}

}  // namespace

ActionMenu::ActionMenu(MainForm& form) : form_(form) {
  ActionPanel& menu = form.ActionMenuPanel();
  QObject::connect(&menu, &ActionPanel::actionChosen, &form, [this](Action action) { Choose(action); });
  QObject::connect(&menu, &ActionPanel::saveChosen, &form, [this] { ChooseSave(); });
  QObject::connect(&menu, &ActionPanel::actionPointed, &form, [this](Action action) { ShowHint(action); });
  QObject::connect(&menu, &ActionPanel::savePointed, &form, [this] { form_.SetMessage("セーブします。"); });
  AmountPanel& amount = form.AmountEntry();
  QObject::connect(&amount, &AmountPanel::amountEntered, &form,
                   [this](const QString& text) { ConfirmAmount(text); });
  QObject::connect(&amount, &AmountPanel::cancelled, &form, [this] { CancelAmount(); });
}

void ActionMenu::ShowHint(Action action) {
  if (action != Action::DevelopWeapon) {
    form_.SetMessage(Hint(action));
    return;
  }
  const DistrictRecord& mover = form_.Game().Mover();
  if (mover.Weapon >= kWeaponLimit) {
    form_.SetMessage(ActionCheck{Action::DevelopWeapon, Refusal::NoMoreWeapons}.Text());
  } else {
    form_.SetMessage("新しい武器を開発します。費用: " + std::to_string(WeaponDevelopCost[mover.Weapon]));
  }
}

void ActionMenu::Choose(Action action) {
  // A menu outside the mover's choice never acts.
  if (!form_.Game().AwaitsHumanChoice()) return;
  HidePanel(form_.ActionMenuPanel());
  switch (action) {
    case Action::Attack: OpenWeaponPanel(); break;
    case Action::Collect: form_.Game().ExecuteAction(Action::Collect, 0, 0); break;
    case Action::Develop:
    case Action::Hire:
    case Action::Train: AskAmount(action); break;
    case Action::DevelopWeapon: DevelopNextWeapon(); break;
    default: form_.ActionMenuPanel().show(); break;
  }
}

void ActionMenu::ChooseSave() {
  if (!form_.Game().AwaitsHumanChoice()) return;
  HidePanel(form_.ActionMenuPanel());
  SaveGame();
}

void ActionMenu::OpenWeaponPanel() { form_.WeaponMenuPanel().Offer(form_.Game().Mover().Weapon); }

void ActionMenu::AskAmount(Action action) {
  form_.SetMessage(RateNote(action));
  form_.Game().ChooseAmountAction(action);
  form_.AmountEntry().Ask();
}

void ActionMenu::DevelopNextWeapon() {
  if (const ActionCheck check = form_.Game().ExecuteAction(Action::DevelopWeapon, 0, 0); !check) {
    form_.SetMessage(check.Text());
    form_.ActionMenuPanel().show();
  }
}

void ActionMenu::SaveGame() {
  form_.ActionMenuPanel().show();
  if (!form_.Game().FillSaveData()) return;
  SaveRecord record = form_.Data().SaveData;
  std::string error;
  if (AccessSaveSlot(form_.SaveFolder(), form_.Data().SaveSlot, kWriteSlot, record, &error)) {
    // The record goes with the save when it can; the save stands either way.
    form_.RecordWindow().KeepBeside(SaveSlotFile(form_.SaveFolder(), form_.Data().SaveSlot), record, nullptr);
    form_.SetMessage("セーブしました。");
  } else {
    form_.SetMessage("セーブできませんでした: " + error);
  }
  QApplication::beep();
}

void ActionMenu::CancelAmount() {
  HidePanel(form_.AmountEntry());
  form_.ActionMenuPanel().show();
}

void ActionMenu::ConfirmAmount(const QString& text) {
  Engine& game = form_.Game();
  const auto action = static_cast<Action>(game.Data().SelectedCommand);
  const std::optional<i16> amount = AcceptedAmount(text.toStdString(), action);
  if (!amount) return;
  if (const ActionCheck check = game.CheckAction(action, *amount, 0); !check) {
    form_.SetMessage(check.Text());
    return;
  }
  HidePanel(form_.AmountEntry());
  game.ExecuteAction(action, *amount, 0);
}

}  // namespace yuunagi
