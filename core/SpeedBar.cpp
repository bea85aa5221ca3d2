#include "core/SpeedBar.h"

#include <QScrollBar>

#include "core/Layout.h"

namespace yuunagi {

SpeedBar::SpeedBar(QWidget* parent) : PictureBox(parent) {
  PlacePanel(this, QStringLiteral("speedBar"), Twips(5640, 4320, 1935, 1095), true);
  const QFont font = LayoutFont(kDefaultPoints);
  MakeLabel(this, QStringLiteral("speedBar.heading"), Twips(120, 120, 1515, 180), "～ゲームスピード～", font);
  MakeLabel(this, QStringLiteral("speedBar.fast"), Twips(120, 360, 345, 180), "速い", font);
  MakeLabel(this, QStringLiteral("speedBar.slow"), Twips(1440, 360, 345, 180), "遅い", font);
  bar_ = new QScrollBar(Qt::Horizontal, this);
  bar_->setObjectName(QStringLiteral("speedBar.slider"));
  Place(bar_, Twips(120, 600, 1695, 255));
  bar_->setRange(100, 2000);
  bar_->setSingleStep(100);
  bar_->setPageStep(500);
  // The speed is taken once the bar has been set, not while its thumb is dragged.
  bar_->setTracking(false);
  connect(bar_, &QScrollBar::valueChanged, this, &SpeedBar::speedChosen);
}

void SpeedBar::SetSpeed(int milliseconds) { bar_->setValue(milliseconds); }

}  // namespace yuunagi
