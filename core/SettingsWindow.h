// 設定 (F2): how strong the computer players are, 普通 (the game's own
// strategy) or 強い (one that looks ahead), kept in the player's settings.
#pragma once

#include <QWidget>

class QRadioButton;

namespace yuunagi {

class MainForm;

class SettingsWindow : public QWidget {
 public:
  explicit SettingsWindow(MainForm& form);

  QRadioButton* Normal = nullptr;  // 普通
  QRadioButton* Strong = nullptr;  // 強い

 private:
  void Choose(bool strong);

  MainForm& form_;
};

}  // namespace yuunagi
