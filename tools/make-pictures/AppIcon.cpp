#include "AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "MapFeatures.h"

namespace yuunagi::art {

namespace {

// The icon is designed on a 256 px grid; the sea meets the sky here.
constexpr double kHorizon = 150;

// The evening sky with the sun setting on the horizon. Leaves the pen off.
void DrawSkyAndSun(QPainter& painter) {
  QLinearGradient sky(0, 8, 0, kHorizon);
  sky.setColorAt(0.0, QColor(0x5A, 0x5A, 0x9C));
  sky.setColorAt(0.45, QColor(0xD8, 0x84, 0x8C));
  sky.setColorAt(1.0, QColor(0xFB, 0xD2, 0x8A));
  painter.fillRect(QRectF(0, 0, 256, kHorizon), sky);

  QRadialGradient glow(QPointF(128, kHorizon), 110);
  glow.setColorAt(0, QColor(0xFF, 0xF0, 0xC0, 200));
  glow.setColorAt(1, QColor(0xFF, 0xE0, 0xA0, 0));
  painter.fillRect(QRectF(0, 0, 256, kHorizon), glow);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xFF, 0xF4, 0xCC));
  painter.drawEllipse(QPointF(128, kHorizon), 46, 46);
}

void DrawSea(QPainter& painter, bool tiny) {
  QLinearGradient sea(0, kHorizon, 0, 248);
  sea.setColorAt(0.0, QColor(0xE8, 0xA2, 0x8E));
  sea.setColorAt(0.5, QColor(0xA0, 0x8C, 0xB6));
  sea.setColorAt(1.0, QColor(0x5C, 0x66, 0xA2));
  painter.fillRect(QRectF(0, kHorizon, 256, 256 - kHorizon), sea);
  // The sun's path on the still water: short strokes, narrower further down.
  painter.setBrush(QColor(0xFF, 0xE6, 0xAE));
  const int strokes = tiny ? 3 : 6;
  for (int i = 0; i < strokes; ++i) {
    const double y = kHorizon + 8 + i * (tiny ? 26 : 14);
    const double half = 44 - i * (tiny ? 12 : 6.5);
    painter.drawRoundedRect(QRectF(128 - half, y, half * 2, tiny ? 9 : 5), 3, 3);
  }
}

// Roofs stepping down the slope, and the pagoda against the sky.
void DrawRoofsAndPagoda(QPainter& painter) {
  for (double x : {64.0, 84.0}) {
    const double ground = x < 70 ? 139 : 150;
    QPainterPath roof;
    roof.moveTo(x - 11, ground);
    roof.lineTo(x - 6, ground - 9);
    roof.lineTo(x + 6, ground - 9);
    roof.lineTo(x + 11, ground);
    roof.closeSubpath();
    painter.drawPath(roof);
  }
  const double pagoda = 34, base = 128;
  for (int storey = 0; storey < 5; ++storey) {
    const double y = base - 4 - storey * 12, half = 15 - storey * 1.8;
    QPainterPath roof;
    roof.moveTo(pagoda - half, y);
    roof.quadTo(pagoda, y - 8, pagoda + half, y);
    roof.closeSubpath();
    painter.drawPath(roof);
    painter.drawRect(QRectF(pagoda - half * 0.45, y - 2, half * 0.9, 9));
  }
  painter.drawRect(QRectF(pagoda - 1.5, base - 78, 3, 16));
}

// The town on its headland and one small boat on the calm sea, in the dusk.
void DrawTownAndBoat(QPainter& painter, bool tiny) {
  const QColor dusk(0x43, 0x34, 0x52);
  painter.setBrush(dusk);
  painter.drawPath(
      SmoothPath({{-10, 260}, {-10, 134}, {22, 127}, {54, 133}, {82, 148}, {102, 178}, {112, 260}}, true));
  if (!tiny) DrawRoofsAndPagoda(painter);
  painter.setBrush(dusk);
  QPainterPath boat;
  boat.moveTo(168, 196);
  boat.lineTo(206, 196);
  boat.lineTo(198, 204);
  boat.lineTo(174, 204);
  boat.closeSubpath();
  painter.drawPath(boat);
  if (!tiny) painter.drawRect(QRectF(186, 176, 3, 20));
}

}  // namespace

QImage DrawAppIcon(int size) {
  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  // Designed on a 256 px grid.
  painter.scale(size / 256.0, size / 256.0);
  const bool tiny = size <= 32;

  QPainterPath tile;
  tile.addRoundedRect(QRectF(8, 8, 240, 240), 46, 46);
  painter.setClipPath(tile);
  DrawSkyAndSun(painter);
  DrawSea(painter, tiny);
  DrawTownAndBoat(painter, tiny);

  painter.setClipping(false);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x2E, 0x24, 0x3A, 150), tiny ? 10 : 4));
  painter.drawPath(tile);
  painter.setPen(QPen(QColor(0xFF, 0xF4, 0xE0, 110), tiny ? 0 : 3));
  if (!tiny)
    painter.drawPath(QTransform::fromTranslate(128, 128).scale(0.955, 0.955).translate(-128, -128).map(tile));
  return icon;
}

}  // namespace yuunagi::art
