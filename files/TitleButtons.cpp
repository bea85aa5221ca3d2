#include "files/TitleButtons.h"

#include "core/Layout.h"

namespace yuunagi {

TitleButtons::TitleButtons(QWidget* parent) : PictureBox(parent) {
  PlacePanel(this, QStringLiteral("titleMenu"), Twips(5640, 5400, 1935, 1095), true);
  GraphicButton* newGame =
      MakeButton(this, QStringLiteral("titleMenu.newGame"), Twips(240, 120, 1455, 375), "はじめから");
  GraphicButton* continueGame =
      MakeButton(this, QStringLiteral("titleMenu.continue"), Twips(240, 600, 1455, 375), "つづきから");
  const auto choose = [this](int startMode) {
    if (!isHidden()) emit startChosen(startMode);  // a hidden panel never acts
  };
  connect(newGame, &QPushButton::clicked, this, [choose] { choose(0); });
  connect(continueGame, &QPushButton::clicked, this, [choose] { choose(1); });
}

}  // namespace yuunagi
