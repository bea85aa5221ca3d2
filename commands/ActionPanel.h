// The action menu of a human move ～<nP>の戦略～: 攻撃 集金 町開発 徴兵 訓練
// 武器開発 セーブ, one button under the other.
#pragma once

#include <QString>

#include "core/GameState.h"
#include "media/Pictures.h"

class QLabel;

namespace yuunagi {

class ActionPanel : public PictureBox {
  Q_OBJECT
 public:
  explicit ActionPanel(QWidget* parent);

  // Headed with the moving player's number, the menu opens.
  void Open(int player);
  QString Heading() const;

 signals:
  // A button was pressed while the menu is shown: an action of the engine, or セーブ.
  void actionChosen(yuunagi::Action action);
  void saveChosen();
  // The pointer moved over a button (or a key reached it).
  void actionPointed(yuunagi::Action action);
  void savePointed();

 private:
  QLabel* heading_ = nullptr;
};

}  // namespace yuunagi
