// The message panel under the board: the message line, and the small mark
// in its corner while the game waits for the click after a human's action.
#pragma once

#include <QString>

#include <string_view>

#include "media/Pictures.h"

class QLabel;

namespace yuunagi {

class MessagePanel : public PictureBox {
 public:
  explicit MessagePanel(QWidget* parent);

  void SetText(std::string_view text);
  QString Text() const;
  void SetWaitCueShown(bool shown);
  bool WaitCueShown() const;

 private:
  QLabel* message_ = nullptr;
  QLabel* waitCue_ = nullptr;
};

}  // namespace yuunagi
