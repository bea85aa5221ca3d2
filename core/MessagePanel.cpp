#include "core/MessagePanel.h"

#include <QLabel>

#include "core/Layout.h"

namespace yuunagi {

MessagePanel::MessagePanel(QWidget* parent) : PictureBox(parent) {
  PlacePanel(this, QStringLiteral("messagePanel"), Twips(240, 5280, 7335, 1215), false);
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("messagePanel.text"));
  Place(message_, Twips(0, 0, 7335, 1215));
  SetDesignFont(message_, LayoutFont(12, true));
  // Descriptions and hints come from the scenario files: shown as they are,
  // never read as markup (an <img> of a device would hang the game).
  message_->setTextFormat(Qt::PlainText);
  message_->setWordWrap(true);
  message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  // Not of the designed layout: it sits in the panel's bottom right corner.
  waitCue_ = MakeLabel(this, QStringLiteral("messagePanel.waitCue"), Twips(6600, 960, 735, 225), "▼ 次へ",
                       LayoutFont(kDefaultPoints));
  waitCue_->move(width() - waitCue_->width() - 4, height() - waitCue_->height() - 2);
  waitCue_->setProperty(kDesignPlace, waitCue_->geometry());
  waitCue_->setAttribute(Qt::WA_TransparentForMouseEvents);
  waitCue_->hide();
}

void MessagePanel::SetText(std::string_view text) { message_->setText(ToQString(text)); }

QString MessagePanel::Text() const { return message_->text(); }

void MessagePanel::SetWaitCueShown(bool shown) { waitCue_->setVisible(shown); }

bool MessagePanel::WaitCueShown() const { return waitCue_->isVisible(); }

}  // namespace yuunagi
