// Playing with the keyboard, beside the mouse: Tab or the arrow keys move
// between the buttons of the open panel (showing their hints) and Return
// presses the focused one;
// while a target is awaited, 1-6 pick a district by its status panel (top
// row 1-3, bottom row 4-6) and Escape calls the pick off; after a human's
// action Return or Space go on like the click on the map. Every key asks
// exactly what the matching click asks, so the same checks and refusals hold.
#pragma once

#include <QObject>

class QAbstractButton;
class QKeyEvent;
class QLabel;
class QWidget;

namespace yuunagi {

class MainForm;
class SettingsWindow;
class WeaponMenu;

class KeyboardPlay : public QObject {
 public:
  // The keys 1-6 pick a target as a click on the status panel does in `weapons`.
  KeyboardPlay(MainForm& form, WeaponMenu& weapons);

  bool eventFilter(QObject* watched, QEvent* event) override;

  // Keys beyond the game's own controls (remembered in the player's settings).
  void ZoomIn() { ChangeZoom(+1); }
  void ZoomOut() { ChangeZoom(-1); }
  void ZoomReset() { ChangeZoom(0); }
  void ToggleMusic();
  void ToggleRecord();
  void ToggleSettings();
  void ShowKeyHelp();

 private:
  // Keys of the board itself: the click after an action, the target pick.
  bool BoardKey(const QKeyEvent& key);
  // Keys on a button or option button of a panel.
  bool ButtonKey(QAbstractButton& button, const QKeyEvent& key);
  // A panel was shown: its first button takes the focus, so keys can follow.
  void PanelShown(QWidget& panel);
  void ChangeZoom(int step);

  MainForm& form_;
  WeaponMenu& weapons_;
  QLabel* help_ = nullptr;
  SettingsWindow* settings_ = nullptr;
};

}  // namespace yuunagi
