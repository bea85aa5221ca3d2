#include "commands/AmountPanel.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "core/Layout.h"

namespace yuunagi {

AmountPanel::AmountPanel(QWidget* parent) : PictureBox(parent) {
  PlacePanel(this, QStringLiteral("amountEntry"), Twips(5640, 3720, 1935, 1455), false);
  text_ = new QLineEdit(QStringLiteral("1"), this);
  text_->setObjectName(QStringLiteral("amountEntry.text"));
  Place(text_, Twips(240, 120, 1335, 375));
  GraphicButton* confirm =
      MakeButton(this, QStringLiteral("amountEntry.confirm"), Twips(240, 600, 1335, 375), "決定");
  GraphicButton* cancel =
      MakeButton(this, QStringLiteral("amountEntry.cancel"), Twips(240, 960, 1335, 375), "キャンセル");
  connect(confirm, &QPushButton::clicked, this, [this] { Press(true); });
  connect(cancel, &QPushButton::clicked, this, [this] { Press(false); });
  text_->installEventFilter(this);
}

void AmountPanel::Ask() {
  show();
  text_->setFocus();
  text_->selectAll();
}

QString AmountPanel::Text() const { return text_->text(); }

void AmountPanel::Press(bool confirm) {
  if (isHidden()) return;  // Enter and Escape count only while the panel is open
  confirm ? emit amountEntered(text_->text()) : emit cancelled();
}

// Enter and Escape in the box: 決定 and キャンセル. The key is taken here, so
// it never goes on to the window (where Enter would continue).
bool AmountPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched != text_ || event->type() != QEvent::KeyPress) return PictureBox::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
    Press(key != Qt::Key_Escape);
    return true;
  }
  return false;
}

}  // namespace yuunagi
