// The amount entry of 町開発, 徴兵 and 訓練: the box the amount is typed in,
// 決定 and キャンセル. Enter and Escape in the box do as the two buttons do.
#pragma once

#include <QString>

#include "media/Pictures.h"

class QLineEdit;

namespace yuunagi {

class AmountPanel : public PictureBox {
  Q_OBJECT
 public:
  explicit AmountPanel(QWidget* parent);

  // Opens, ready for typing; what was typed last stays until typed over.
  void Ask();
  QString Text() const;

  bool eventFilter(QObject* watched, QEvent* event) override;

 signals:
  // 決定 or Enter, with the text typed; only while the panel is shown.
  void amountEntered(const QString& text);
  // キャンセル or Escape; only while the panel is shown.
  void cancelled();

 private:
  void Press(bool confirm);

  QLineEdit* text_ = nullptr;
};

}  // namespace yuunagi
