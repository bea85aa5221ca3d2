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
std::string_view RateNote(int action) {
  switch (action) {
    case Develop: return "相場: 開発1 - 金10";
    case Hire: return "相場: 兵士1 - 金1";
    default: return "相場: 強さ1 - 金10";
  }
}

constexpr std::string_view kNoMoreWeapons = "これ以上、開発できません。";

DistrictRecord& Mover(GameData& data) { return data.Districts[data.CurrentDistrict]; }

// Calls `pressed` when Escape is pressed in the watched control.
class EscapeKey : public QObject {
 public:
  EscapeKey(QObject* parent, std::function<void()> pressed) : QObject(parent), pressed_(std::move(pressed)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      pressed_();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> pressed_;
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
  QObject::connect(form.Text1, &QLineEdit::returnPressed, &form, [this] { Command5_Click(0); });
  form.Text1->installEventFilter(new EscapeKey(form.Text1, [this] { Command5_Click(1); }));
}

void ActionMenu::Command3_MouseMove(int index) {
  if (index != DevelopWeapon) {
    form_.SetMessage(kHints[index]);
    return;
  }
  const DistrictRecord& mover = Mover(form_.Data());
  if (mover.Weapon >= kWeaponLimit) {
    form_.SetMessage(kNoMoreWeapons);
  } else {
    form_.SetMessage("新しい武器を開発します。費用: " + std::to_string(WeaponDevelopCost[mover.Weapon]));
  }
}

void ActionMenu::Command3_Click(int index) {
  form_.Picture4->hide();
  switch (index) {
    case Attack: OpenWeaponPanel(); break;
    case Collect: form_.Game().ExecuteAction(Collect, 0, 0); break;
    case Develop:
    case Hire:
    case Train: AskAmount(index); break;
    case DevelopWeapon: DevelopNextWeapon(); break;
    case kSaveCommand: SaveGame(); break;
    default: form_.Picture4->show(); break;
  }
}

void ActionMenu::OpenWeaponPanel() {
  const i16 weapon = Mover(form_.Data()).Weapon;
  for (int level = 0; level < static_cast<int>(form_.Command4.size()); ++level) {
    form_.Command4[level]->setVisible(level <= weapon);
  }
  form_.Picture5->show();
}

void ActionMenu::AskAmount(int action) {
  form_.SetMessage(RateNote(action));
  form_.Data().SelectedCommand = static_cast<i16>(action);
  form_.Picture6->show();
  // Ready for typing; what was typed last stays until the player types over it.
  form_.Text1->setFocus();
  form_.Text1->selectAll();
}

void ActionMenu::DevelopNextWeapon() {
  const DistrictRecord& mover = Mover(form_.Data());
  if (mover.Weapon >= kWeaponLimit) {
    form_.SetMessage(kNoMoreWeapons);
    form_.Picture4->show();
  } else if (mover.Money < WeaponDevelopCost[mover.Weapon]) {
    form_.SetMessage("お金が足りません。");
    form_.Picture4->show();
  } else {
    form_.Game().ExecuteAction(yuunagi::DevelopWeapon, 0, 0);
  }
}

void ActionMenu::SaveGame() {
  form_.Picture4->show();
  GameData& data = form_.Data();
  form_.Game().FillSaveData();
  std::string error;
  if (AccessSaveSlot(form_.SaveFolder(), data.SaveSlot, kWriteSlot, data.SaveData, &error)) {
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
  form_.Picture6->hide();
  form_.Picture4->show();
}

void ActionMenu::ConfirmAmount() {
  GameData& data = form_.Data();
  const AmountCheck check =
      CheckAmount(form_.Text1->text().toStdString(), data.SelectedCommand, Mover(data).Money);
  switch (check.verdict) {
    case AmountVerdict::Ignored: break;
    case AmountVerdict::TooExpensive: form_.SetMessage("お金が足りません!!"); break;
    case AmountVerdict::Accepted:
      form_.Picture6->hide();
      form_.Game().ExecuteAction(data.SelectedCommand, check.amount, 0);
      break;
  }
}

}  // namespace yuunagi
