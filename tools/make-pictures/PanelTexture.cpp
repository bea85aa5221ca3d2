#include "PanelTexture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace yuunagi::art {

QImage WashiPaper(int width, int height, QColor base, std::uint32_t seed) {
  QImage paper(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(paper.scanLine(y));
    for (int x = 0; x < width; ++x) {
      // Cloudy thickness of the sheet, stretched a little along the fibres.
      const double cloud = FractalNoise(x / 46.0, y / 30.0, seed, 4) - 0.5;
      const double grain = ValueNoise(x / 1.7, y / 1.3, seed + 7) - 0.5;
      const double shade = 1.0 + cloud * 0.055 + grain * 0.018;
      line[x] = qRgb(std::clamp(static_cast<int>(base.red() * shade), 0, 255),
                     std::clamp(static_cast<int>(base.green() * shade), 0, 255),
                     std::clamp(static_cast<int>(base.blue() * shade), 0, 255));
    }
  }

  QPainter painter(&paper);
  painter.setRenderHint(QPainter::Antialiasing);
  Dice dice(seed * 2654435761u + 17);
  const int fibres = width * height / 260;
  for (int i = 0; i < fibres; ++i) {
    const QPointF start(dice.Range(-20, width + 20), dice.Range(-20, height + 20));
    const double angle = dice.Range(0, 2 * 3.14159265358979);
    const double length = dice.Range(8, 42);
    const QPointF end = start + QPointF(std::cos(angle), std::sin(angle)) * length;
    const QPointF bend = (start + end) / 2 + QPointF(dice.Range(-6, 6), dice.Range(-6, 6));
    QPainterPath fibre(start);
    fibre.quadTo(bend, end);
    const bool light = dice.Unit() < 0.6;
    QColor colour = light ? QColor(255, 255, 250) : base.darker(118);
    colour.setAlphaF(light ? dice.Range(0.25, 0.55) : dice.Range(0.10, 0.24));
    painter.setPen(QPen(colour, dice.Range(0.5, 1.3), Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(fibre);
  }
  // Specks of bark left in the pulp.
  painter.setPen(Qt::NoPen);
  const int flecks = width * height / 5000;
  for (int i = 0; i < flecks; ++i) {
    QColor fleck = base.darker(dice.Range(140, 190));
    fleck.setAlphaF(dice.Range(0.25, 0.5));
    painter.setBrush(fleck);
    const double r = dice.Range(0.5, 1.2);
    painter.drawEllipse(QPointF(dice.Range(0, width), dice.Range(0, height)), r * dice.Range(1.0, 2.2), r);
  }
  return paper;
}

QImage DrawPanelTexture() {
  return WashiPaper(kTextureWidth, kTextureHeight, QColor(0xF4, 0xEC, 0xD8), 1193);
}

}  // namespace yuunagi::art
