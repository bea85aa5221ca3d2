#include "commands/ActionMenu.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "commands/AmountText.h"
#include "core/MainForm.h"
#include "files/SaveFile.h"

namespace yuunagi {
namespace {

constexpr int kSaveCommand = 6;

// Hints of the action buttons; 武器開発's depends on the district and is made apart.
constexpr std::array<std::string_view, 7> kHints = {"敵の勢力を攻撃します。", "民から金を集金します。",
                                                    "町を開発します。",       "兵士を雇います。",
                                                    "兵士を訓練します。",     "",
                                                    "セーブします。"};

// What one unit of 町開発, 徴兵 and 訓練 costs, shown when the amount is asked for.
std::string_view RateNote(Action action) {
  switch (action) {
    case Action::Develop: return "相場: 開発1 - 金10";
    case Action::Hire: return "相場: 兵士1 - 金1";
    default: return "相場: 強さ1 - 金10";
  }
}

// Enter and Escape in the amount box: 決定 and キャンセル. The key is taken
// here, so it never goes on to the window (where Enter would continue).
class AmountKeys : public QObject {
 public:
  AmountKeys(QObject* parent, std::function<void(int)> button)
      : QObject(parent), button_(std::move(button)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
      button_(key == Qt::Key_Escape ? 1 : 0);
      return true;
    }
    return false;
  }

 private:
  std::function<void(int)> button_;
};

}  // namespace

ActionMenu::ActionMenu(MainForm& form) : form_(form) {
  for (int k = 0; k < static_cast<int>(form.Command3.size()); ++k) {
    QObject::connect(form.Command3[k], &QPushButton::clicked, &form, [this, k] { Command3_Click(k); });
    QObject::connect(form.Command3[k], &GraphicButton::Hovered, &form, [this, k] { Command3_MouseMove(k); });
  }
  for (int k = 0; k < static_cast<int>(form.Command5.size()); ++k) {
    QObject::connect(form.Command5[k], &QPushButton::clicked, &form, [this, k] { Command5_Click(k); });
  }
  // Enter in the amount box confirms, Escape cancels, as the two buttons do.
  form.Text1->installEventFilter(new AmountKeys(form.Text1, [this](int button) { Command5_Click(button); }));
}

void ActionMenu::Command3_MouseMove(int index) {
  if (index != static_cast<int>(Action::DevelopWeapon)) {
    form_.SetMessage(kHints[index]);
    return;
  }
  const DistrictRecord& mover = form_.Game().Mover();
  if (mover.Weapon >= kWeaponLimit) {
    form_.SetMessage(ActionCheck{Action::DevelopWeapon, Refusal::NoMoreWeapons}.Text());
  } else {
    form_.SetMessage("新しい武器を開発します。費用: " + std::to_string(WeaponDevelopCost[mover.Weapon]));
  }
}

void ActionMenu::Command3_Click(int index) {
  // A hidden menu never acts, and neither does a menu outside the mover's choice.
  if (form_.Picture4->isHidden() || !form_.Game().AwaitsHumanChoice()) return;
  form_.HidePanel(form_.Picture4);
  if (index == kSaveCommand) {
    SaveGame();
    return;
  }
  const auto action = static_cast<Action>(index);
  switch (action) {
    case Action::Attack: OpenWeaponPanel(); break;
    case Action::Collect: form_.Game().ExecuteAction(Action::Collect, 0, 0); break;
    case Action::Develop:
    case Action::Hire:
    case Action::Train: AskAmount(action); break;
    case Action::DevelopWeapon: DevelopNextWeapon(); break;
    default: form_.Picture4->show(); break;
  }
}

void ActionMenu::OpenWeaponPanel() {
  const i16 weapon = form_.Game().Mover().Weapon;
  for (int level = 0; level < static_cast<int>(form_.Command4.size()); ++level) {
    form_.Command4[level]->setVisible(level <= weapon);
  }
  form_.Picture5->show();
}

void ActionMenu::AskAmount(Action action) {
  form_.SetMessage(RateNote(action));
  form_.Game().ChooseAmountAction(action);
  form_.Picture6->show();
  // Ready for typing; what was typed last stays until the player types over it.
  form_.Text1->setFocus();
  form_.Text1->selectAll();
}

void ActionMenu::DevelopNextWeapon() {
  if (const ActionCheck check = form_.Game().ExecuteAction(Action::DevelopWeapon, 0, 0); !check) {
    form_.SetMessage(check.Text());
    form_.Picture4->show();
  }
}

void ActionMenu::SaveGame() {
  form_.Picture4->show();
  if (!form_.Game().FillSaveData()) return;
  SaveRecord record = form_.Data().SaveData;
  std::string error;
  if (AccessSaveSlot(form_.SaveFolder(), form_.Data().SaveSlot, kWriteSlot, record, &error)) {
    form_.SetMessage("セーブしました。");
  } else {
    form_.SetMessage("セーブできませんでした: " + error);
  }
  QApplication::beep();
}

void ActionMenu::Command5_Click(int index) {
  // Enter and Escape count only while the panel is open.
  if (form_.Picture6->isHidden()) return;
  if (index == 0) {
    ConfirmAmount();
    return;
  }
  form_.HidePanel(form_.Picture6);
  form_.Picture4->show();
}

void ActionMenu::ConfirmAmount() {
  Engine& game = form_.Game();
  const auto action = static_cast<Action>(game.Data().SelectedCommand);
  const std::optional<i16> amount = AcceptedAmount(form_.Text1->text().toStdString(), action);
  if (!amount) return;
  if (const ActionCheck check = game.CheckAction(action, *amount, 0); !check) {
    form_.SetMessage(check.Text());
    return;
  }
  form_.HidePanel(form_.Picture6);
  game.ExecuteAction(action, *amount, 0);
}

}  // namespace yuunagi
