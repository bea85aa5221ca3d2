// The title screen's buttons at the bottom right: はじめから and つづきから.
#pragma once

#include "media/Pictures.h"

namespace yuunagi {

class TitleButtons : public PictureBox {
  Q_OBJECT
 public:
  explicit TitleButtons(QWidget* parent);

 signals:
  // はじめから (0) or つづきから (1), the engine's start modes; only while shown.
  void startChosen(int startMode);
};

}  // namespace yuunagi
