#include "core/TurnPanel.h"

#include <QLabel>

#include <string>

#include "core/GameState.h"
#include "core/Layout.h"

namespace yuunagi {

TurnPanel::TurnPanel(QWidget* parent) : PictureBox(parent) {
  PlacePanel(this, QStringLiteral("turnPanel"), Twips(5640, 240, 1935, 975), false);
  const QFont font = LayoutFont(14.25);
  turn_ = MakeLabel(this, QStringLiteral("turnPanel.turn"), Twips(120, 120, 810, 285), "Turn 1", font);
  strategy_ =
      MakeLabel(this, QStringLiteral("turnPanel.strategy"), Twips(120, 480, 1425, 285), "ヒノデの戦略", font);
}

void TurnPanel::ShowTurn(int turn) { SetCaption(turn_, "Turn " + std::to_string(turn)); }

void TurnPanel::ShowStrategyOf(int faction) {
  SetCaption(strategy_, std::string(FactionNames[faction]) + "の戦略");
}

QString TurnPanel::TurnText() const { return turn_->text(); }

QString TurnPanel::StrategyText() const { return strategy_->text(); }

}  // namespace yuunagi
