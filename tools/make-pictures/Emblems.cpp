#include "Emblems.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "Crests.h"
#include "PanelTexture.h"

namespace yuunagi::art {

namespace {

QColor Mix(QColor a, QColor b, double t) {
  return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - t) + b.redF() * t),
                          static_cast<float>(a.greenF() * (1 - t) + b.greenF() * t),
                          static_cast<float>(a.blueF() * (1 - t) + b.blueF() * t));
}

void FillCrest(QPainter& painter, int faction, QPointF centre, double radius, const QBrush& brush) {
  painter.save();
  painter.translate(centre);
  painter.scale(radius, radius);
  painter.setPen(Qt::NoPen);
  painter.setBrush(brush);
  painter.drawPath(CrestPath(faction));
  painter.restore();
}

const QColor kPaper(0xFB, 0xF8, 0xF0);

// A soft wash of colour rising from the foot of the panel, and the name
// plate across the top.
void DrawWashAndPlate(QPainter& painter, const QRectF& panel, QColor colour) {
  QLinearGradient wash(0, 30, 0, panel.height());
  QColor clear = colour;
  clear.setAlphaF(0.0);
  QColor tinted = colour;
  tinted.setAlphaF(0.10);
  wash.setColorAt(0, clear);
  wash.setColorAt(1, tinted);
  painter.fillRect(panel, wash);

  const QRectF plate(4, 4, panel.width() - 8, 24);
  QLinearGradient plateShade(0, plate.top(), 0, plate.bottom());
  plateShade.setColorAt(0, Mix(kPaper, colour, 0.34));
  plateShade.setColorAt(1, Mix(kPaper, colour, 0.24));
  painter.fillRect(plate, plateShade);
  painter.setPen(QPen(Mix(colour, Qt::black, 0.1), 0.8));
  painter.drawLine(QPointF(plate.left(), plate.bottom()), QPointF(plate.right(), plate.bottom()));
}

// A frame: a broad band of colour, then a thin inner rule; small diamonds
// and rules at the foot.
void DrawFrame(QPainter& painter, const QRectF& panel, QColor colour) {
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(colour, 3.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.drawRect(panel.adjusted(1.5, 1.5, -1.5, -1.5));
  painter.setPen(QPen(Mix(colour, Qt::black, 0.35), 0.6));
  painter.drawRect(panel.adjusted(0.3, 0.3, -0.3, -0.3));
  QColor rule = colour;
  rule.setAlphaF(0.75);
  painter.setPen(QPen(rule, 0.8));
  painter.drawRect(panel.adjusted(4, 4, -4, -4));

  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  const QPointF at(panel.width() / 2, panel.height() - 4);
  const double r = 2.6;
  painter.drawPolygon(
      QPolygonF({at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r), at + QPointF(-r, 0)}));
  for (double x : {30.0, panel.width() - 30.0}) {
    painter.drawRect(QRectF(x - 14, panel.height() - 4.4, 28, 0.8));
  }
}

}  // namespace

QImage DrawEmblem(int faction) {
  const QColor colour = FactionColour(faction);
  QImage image = WashiPaper(kEmblemWidth, kEmblemHeight, Mix(kPaper, colour, 0.10), 301 + 37 * faction);

  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  // Drawn in the panel's own pixels; the picture holds twice as many.
  painter.scale(2, 2);
  const QRectF panel(0, 0, kEmblemWidth / 2.0, kEmblemHeight / 2.0);
  DrawWashAndPlate(painter, panel, colour);

  // The crest as a watermark behind the numbers.
  QColor watermark = colour;
  watermark.setAlphaF(0.13);
  FillCrest(painter, faction, QPointF(panel.width() / 2, 92), 42, watermark);
  DrawFrame(painter, panel, colour);

  // The crest itself beside the faction's name, like a family crest.
  const QPointF badge(20.5, 16);
  painter.setBrush(Mix(kPaper, colour, 0.06));
  painter.drawEllipse(badge, 10.5, 10.5);
  FillCrest(painter, faction, badge, 10, Mix(colour, Qt::black, 0.12));
  return image;
}

}  // namespace yuunagi::art
