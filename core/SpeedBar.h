// The game speed panel of the title screen: ～ゲームスピード～ and the bar
// from 速い to 遅い, the pause after every computer move in milliseconds.
#pragma once

#include "media/Pictures.h"

class QScrollBar;

namespace yuunagi {

class SpeedBar : public PictureBox {
  Q_OBJECT
 public:
  explicit SpeedBar(QWidget* parent);

  // Sets the bar as the player would (speedChosen follows).
  void SetSpeed(int milliseconds);

 signals:
  // The bar was set, not while its thumb is dragged.
  void speedChosen(int milliseconds);

 private:
  QScrollBar* bar_ = nullptr;
};

}  // namespace yuunagi
