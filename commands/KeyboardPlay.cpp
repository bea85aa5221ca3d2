#include "commands/KeyboardPlay.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>

#include <algorithm>
#include <vector>

#include "commands/WeaponMenu.h"
#include "commands/WeaponPanel.h"
#include "core/Layout.h"
#include "core/MainForm.h"
#include "core/PanelFocus.h"
#include "core/PlayerSettings.h"
#include "core/SettingsWindow.h"
#include "core/WarRecordWindow.h"
#include "files/SaveSlotPanel.h"
#include "files/ScenarioPanel.h"

namespace yuunagi {
namespace {

bool IsReturn(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The buttons of a panel a player can reach, in reading order.
std::vector<QAbstractButton*> ReachableButtons(QWidget& panel) {
  std::vector<QAbstractButton*> buttons;
  for (QAbstractButton* b : panel.findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
    if (b->isVisible() && b->isEnabled()) buttons.push_back(b);
  }
  std::sort(buttons.begin(), buttons.end(), [](const QAbstractButton* a, const QAbstractButton* b) {
    return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
  });
  return buttons;
}

// The keys beyond the game's own controls, in Japanese, for F1.
constexpr const char* kKeyHelp =
    "【操作キー】\n"
    "Tab / 矢印キー\tボタンを選ぶ\n"
    "Enter\t選んだボタンを押す\n"
    "1～6\t攻撃対象を選ぶ（上の段 1～3、下の段 4～6）\n"
    "Esc\t攻撃対象の選択をやめる\n"
    "Enter / Space\t行動のあと、次へ進む\n"
    "\n"
    "Ctrl + ＋ / Ctrl + －\t画面を大きく / 小さく（100%・150%・200%）\n"
    "Ctrl + 0\t画面をもとの大きさに\n"
    "M\t音楽を止める / 流す\n"
    "L\t戦況記録を開く / 閉じる\n"
    "F2\t設定（コンピュータの強さ）\n"
    "F1\tこの一覧";

}  // namespace

void KeyboardPlay::ShowKeyHelp() {
  if (help_ == nullptr) {
    help_ = new QLabel(&form_, Qt::Window);
    help_->setWindowTitle(QStringLiteral("操作キー"));
    help_->setTextFormat(Qt::PlainText);
    help_->setText(QString::fromUtf8(kKeyHelp));
    help_->setFont(LayoutFont(10));
    help_->setMargin(12);
    help_->setAttribute(Qt::WA_ShowWithoutActivating);
  }
  help_->setVisible(!help_->isVisible());
}

void KeyboardPlay::ChangeZoom(int step) {
  const auto steps = std::begin(kZoomSteps);
  const int count = static_cast<int>(std::size(kZoomSteps));
  int at = static_cast<int>(std::find(steps, std::end(kZoomSteps), form_.Zoom()) - steps);
  at = step == 0 ? 0 : std::clamp(at + step, 0, count - 1);
  form_.SetZoom(kZoomSteps[at]);
  PlayerSettings settings = PlayerSettings::Load();
  settings.zoom = form_.Zoom();
  settings.Save();
}

void KeyboardPlay::ToggleRecord() { form_.RecordWindow().Toggle(&form_); }

void KeyboardPlay::ToggleSettings() {
  if (settings_ == nullptr) {
    settings_ = new SettingsWindow(form_);
    settings_->setAttribute(Qt::WA_ShowWithoutActivating);
  }
  settings_->setVisible(!settings_->isVisible());
}

void KeyboardPlay::ToggleMusic() {
  form_.SetMusicOn(!form_.MusicOn());
  PlayerSettings settings = PlayerSettings::Load();
  settings.musicOn = form_.MusicOn();
  settings.Save();
}

KeyboardPlay::KeyboardPlay(MainForm& form, WeaponMenu& weapons) : form_(form), weapons_(weapons) {
  const auto key = [&](const QKeySequence& sequence, void (KeyboardPlay::*act)()) {
    auto* shortcut = new QShortcut(sequence, &form);
    connect(shortcut, &QShortcut::activated, this, act);
  };
  key(QKeySequence::ZoomIn, &KeyboardPlay::ZoomIn);
  key(QKeySequence(QStringLiteral("Ctrl+=")), &KeyboardPlay::ZoomIn);
  key(QKeySequence::ZoomOut, &KeyboardPlay::ZoomOut);
  key(QKeySequence(QStringLiteral("Ctrl+0")), &KeyboardPlay::ZoomReset);
  key(QKeySequence(Qt::Key_M), &KeyboardPlay::ToggleMusic);
  key(QKeySequence(Qt::Key_F1), &KeyboardPlay::ShowKeyHelp);
  key(QKeySequence(Qt::Key_L), &KeyboardPlay::ToggleRecord);
  key(QKeySequence(Qt::Key_F2), &KeyboardPlay::ToggleSettings);

  form.installEventFilter(this);
  for (QWidget* panel : form.MenuPanels()) {
    panel->installEventFilter(this);
    for (QAbstractButton* b : panel->findChildren<QAbstractButton*>()) b->installEventFilter(this);
  }
  form.ScenarioList().WatchKeys(this);
}

bool KeyboardPlay::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && watched != &form_) {
    if (auto* panel = qobject_cast<QWidget*>(watched); panel && !qobject_cast<QAbstractButton*>(panel)) {
      PanelShown(*panel);
    }
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  const auto& key = static_cast<const QKeyEvent&>(*event);
  if (watched == &form_) return BoardKey(key);
  // Return in the scenario list is 決定 above it.
  if (form_.ScenarioList().IsList(watched)) return IsReturn(key.key()) && form_.ScenarioList().PressConfirm();
  if (auto* button = qobject_cast<QAbstractButton*>(watched)) return ButtonKey(*button, key);
  return false;
}

bool KeyboardPlay::BoardKey(const QKeyEvent& key) {
  const Phase state = form_.Data().GameState;
  if (state == Phase::AwaitingClick && (IsReturn(key.key()) || key.key() == Qt::Key_Space) &&
      !key.isAutoRepeat()) {
    form_.Game().ContinueAfterAction();
    return true;
  }
  if (state == Phase::AwaitingTarget) {
    if (key.key() >= Qt::Key_1 && key.key() <= Qt::Key_6) {
      weapons_.TargetClicked(key.key() - Qt::Key_1, Qt::LeftButton);
      return true;
    }
    if (key.key() == Qt::Key_Escape) {
      form_.CancelTarget();
      return true;
    }
  }
  return false;
}

bool KeyboardPlay::ButtonKey(QAbstractButton& button, const QKeyEvent& key) {
  QWidget* panel = button.parentWidget();
  if (panel == nullptr || !button.isVisible()) return true;  // a hidden button never acts
  if (IsReturn(key.key())) {
    if (button.isCheckable() && panel == &form_.SlotPanel()) {
      button.click();                    // the save slot under the focus ...
      form_.SlotPanel().PressConfirm();  // ... and 決定
    } else {
      button.click();
    }
    return true;
  }
  const bool back = key.key() == Qt::Key_Up || key.key() == Qt::Key_Left || key.key() == Qt::Key_Backtab;
  const bool forth = key.key() == Qt::Key_Down || key.key() == Qt::Key_Right || key.key() == Qt::Key_Tab;
  if (!back && !forth) return false;
  const std::vector<QAbstractButton*> buttons = ReachableButtons(*panel);
  const auto at = std::find(buttons.begin(), buttons.end(), &button);
  if (at == buttons.end() || buttons.size() < 2) return true;
  const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(buttons.size());
  const std::ptrdiff_t next = ((at - buttons.begin()) + (forth ? 1 : -1) + n) % n;
  buttons[next]->setFocus(Qt::TabFocusReason);
  // Reaching a button by key shows its hint, as pointing at it does.
  if (auto* graphic = qobject_cast<GraphicButton*>(buttons[next])) emit graphic->Hovered();
  return true;
}

void KeyboardPlay::PanelShown(QWidget& panel) {
  if (form_.ScenarioList().IsList(&panel)) {
    form_.ScenarioList().FocusList();
  } else if (&panel == &form_.SlotPanel()) {
    form_.SlotPanel().FocusSlot(form_.Data().SaveSlot);
  } else if (&panel == &form_.WeaponMenuPanel()) {
    form_.WeaponMenuPanel().FocusFists();
  } else {
    FocusFirstButton(panel);
  }
}

}  // namespace yuunagi
