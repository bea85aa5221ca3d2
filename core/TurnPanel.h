// The turn panel at the top right of the board: the turn number and whose
// strategy the move is.
#pragma once

#include <QString>

#include "media/Pictures.h"

class QLabel;

namespace yuunagi {

class TurnPanel : public PictureBox {
 public:
  explicit TurnPanel(QWidget* parent);

  void ShowTurn(int turn);
  void ShowStrategyOf(int faction);
  QString TurnText() const;
  QString StrategyText() const;

 private:
  QLabel* turn_ = nullptr;
  QLabel* strategy_ = nullptr;
};

}  // namespace yuunagi
