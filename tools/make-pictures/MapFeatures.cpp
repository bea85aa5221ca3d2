#include "MapFeatures.h"

#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace yuunagi::art {

namespace {

// Direction towards the sun (west-north-west), as a unit vector.
const QPointF kTowardsSun(-0.93, -0.37);

const QColor kShadow(0x3B, 0x2A, 0x46);

QColor WithAlpha(QColor colour, double alpha) {
  colour.setAlphaF(static_cast<float>(alpha));
  return colour;
}

// 0.75 for a face turned away from the sun up to 1.2 for one facing it.
double Lighting(QPointF normal) {
  const double dot = normal.x() * kTowardsSun.x() + normal.y() * kTowardsSun.y();
  return 0.97 + 0.23 * dot;
}

QColor Shade(QColor colour, double factor) {
  if (factor >= 1) return Mix(colour, QColor(0xFF, 0xE4, 0xB8), std::min(1.0, (factor - 1) * 1.6));
  return Mix(colour, QColor(0x2E, 0x22, 0x3A), std::min(1.0, (1 - factor) * 1.4));
}

QPolygonF Polygon(std::initializer_list<QPointF> points) { return QPolygonF(QList<QPointF>(points)); }

}  // namespace

QPointF ShadowOffset(double height) { return QPointF(-kTowardsSun.x(), -kTowardsSun.y()) * height; }

QColor Mix(QColor a, QColor b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - t) + b.redF() * t),
                          static_cast<float>(a.greenF() * (1 - t) + b.greenF() * t),
                          static_cast<float>(a.blueF() * (1 - t) + b.blueF() * t),
                          static_cast<float>(a.alphaF() * (1 - t) + b.alphaF() * t));
}

QPainterPath SmoothPath(const QList<QPointF>& points, bool closed) {
  QPainterPath path;
  const qsizetype n = points.size();
  if (n < 2) return path;
  auto at = [&](qsizetype i) {
    if (closed) return points[(i % n + n) % n];
    return points[std::clamp<qsizetype>(i, 0, n - 1)];
  };
  path.moveTo(points[0]);
  const qsizetype segments = closed ? n : n - 1;
  for (qsizetype i = 0; i < segments; ++i) {
    const QPointF p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
    path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
  }
  if (closed) path.closeSubpath();
  return path;
}

void DrawRoof(QPainter& painter, QPointF centre, double length, double depth, double degrees, QColor tile,
              RoofShape shape, double height) {
  const double hl = length / 2, hd = depth / 2;
  const double ridge = shape == RoofShape::Hipped ? std::max(0.0, hl - hd) : hl;
  const QTransform turn = QTransform().rotate(degrees);
  const QTransform place = turn * QTransform::fromTranslate(centre.x(), centre.y());

  const QPolygonF outline = Polygon({{-hl, -hd}, {hl, -hd}, {hl, hd}, {-hl, hd}});
  painter.setPen(Qt::NoPen);
  painter.setBrush(WithAlpha(kShadow, 0.32));
  painter.drawPolygon(place.map(outline).translated(ShadowOffset(height)));

  struct Face {
    QPolygonF shape;
    QPointF normal;
  };
  const Face faces[] = {
      {Polygon({{-hl, -hd}, {hl, -hd}, {ridge, 0}, {-ridge, 0}}), {0, -1}},
      {Polygon({{-hl, hd}, {hl, hd}, {ridge, 0}, {-ridge, 0}}), {0, 1}},
      {Polygon({{-hl, -hd}, {-ridge, 0}, {-hl, hd}}), {-1, 0}},
      {Polygon({{hl, -hd}, {ridge, 0}, {hl, hd}}), {1, 0}},
  };
  for (const Face& face : faces) {
    if (face.shape.boundingRect().width() < 1e-6) continue;
    const QPointF normal = turn.map(face.normal);
    painter.setBrush(Shade(tile, Lighting(normal)));
    painter.drawPolygon(place.map(face.shape));
  }
  // Eaves and ridge lines, drawn thin so small houses stay crisp.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(WithAlpha(Shade(tile, 0.7), 0.8), 0.35));
  painter.drawPolygon(place.map(outline));
  painter.setPen(QPen(WithAlpha(Shade(tile, 1.15), 0.9), 0.45));
  painter.drawLine(place.map(QPointF(-ridge, 0)), place.map(QPointF(ridge, 0)));
  if (shape == RoofShape::Hipped && ridge < hl) {
    for (const QPointF corner : {QPointF(-hl, -hd), QPointF(-hl, hd), QPointF(hl, -hd), QPointF(hl, hd)}) {
      const QPointF end(corner.x() < 0 ? -ridge : ridge, 0);
      painter.drawLine(place.map(corner), place.map(end));
    }
  }
}

namespace {

// A kind of tree's colours, and how tall it stands for its shadow.
struct TreeLook {
  QColor body, light, dark;
  double height;
};

TreeLook LookOf(TreeKind kind, double radius) {
  switch (kind) {
    case TreeKind::Broadleaf:
      return {QColor(0x6C, 0x8E, 0x48), QColor(0xB2, 0xBE, 0x62), QColor(0x3E, 0x5A, 0x38), radius * 1.2};
    case TreeKind::Pine:
      return {QColor(0x3F, 0x6A, 0x44), QColor(0x85, 0x9C, 0x55), QColor(0x24, 0x3E, 0x30), radius * 1.8};
    case TreeKind::Cherry:
      return {QColor(0xE8, 0xA6, 0xB8), QColor(0xFB, 0xDE, 0xE0), QColor(0xB0, 0x6E, 0x8C), radius * 1.2};
    case TreeKind::Cedar:
      return {QColor(0x35, 0x5C, 0x3F), QColor(0x6F, 0x8C, 0x4C), QColor(0x1F, 0x35, 0x2B), radius * 2.2};
    case TreeKind::Shrub:
      return {QColor(0x7B, 0x98, 0x4E), QColor(0xB8, 0xC0, 0x6A), QColor(0x4A, 0x64, 0x3C), radius * 0.6};
  }
  return {QColor(), QColor(), QColor(), radius * 1.2};
}

// The crown: a few overlapping puffs, or a star of needles for conifers.
QPainterPath CrownPath(QPointF centre, double radius, TreeKind kind, Dice& dice) {
  QPainterPath crown;
  if (kind == TreeKind::Pine || kind == TreeKind::Cedar) {
    QPolygonF star;
    const int points = kind == TreeKind::Pine ? 9 : 11;
    const double turn = dice.Range(0, 1);
    for (int i = 0; i < points * 2; ++i) {
      const double angle = (i + turn) * std::numbers::pi / points;
      const double r = radius * (i % 2 == 0 ? 1.0 : dice.Range(0.68, 0.8));
      star << centre + QPointF(std::cos(angle) * r, std::sin(angle) * r);
    }
    crown.addPolygon(star);
    crown.closeSubpath();
    return crown;
  }
  crown.addEllipse(centre, radius * 0.78, radius * 0.78);
  const int puffs = 5;
  const double turn = dice.Range(0, 6.3);
  for (int i = 0; i < puffs; ++i) {
    const double angle = turn + i * 2 * std::numbers::pi / puffs;
    const double r = radius * dice.Range(0.42, 0.55);
    crown.addEllipse(centre + QPointF(std::cos(angle), std::sin(angle)) * (radius - r), r, r);
  }
  crown.setFillRule(Qt::WindingFill);
  return crown.simplified();
}

}  // namespace

void DrawTree(QPainter& painter, QPointF centre, double radius, TreeKind kind, Dice& dice) {
  const TreeLook look = LookOf(kind, radius);
  const QPainterPath crown = CrownPath(centre, radius, kind, dice);
  painter.setPen(Qt::NoPen);
  painter.setBrush(WithAlpha(kShadow, 0.30));
  painter.drawPath(crown.translated(ShadowOffset(look.height)));
  painter.setBrush(look.body);
  painter.setPen(QPen(WithAlpha(look.dark, 0.55), 0.4));
  painter.drawPath(crown);
  painter.setPen(Qt::NoPen);
  // Sunlit side: the crown shrunk towards the sun.
  const QPointF sunward = centre + kTowardsSun * radius * 0.3;
  QTransform shrink = QTransform::fromTranslate(sunward.x(), sunward.y());
  shrink.scale(0.62, 0.62);
  shrink.translate(-centre.x(), -centre.y());
  painter.setBrush(WithAlpha(look.light, 0.85));
  painter.drawPath(shrink.map(crown));
  if (kind == TreeKind::Cherry) {
    // Blossom dots catching the light.
    painter.setBrush(WithAlpha(QColor(0xFF, 0xF2, 0xF0), 0.9));
    for (int i = 0; i < 3; ++i) {
      painter.drawEllipse(centre + QPointF(dice.Range(-0.6, 0.2), dice.Range(-0.6, 0.3)) * radius, 0.45,
                          0.45);
    }
  }
}

void DrawBoat(QPainter& painter, QPointF centre, double length, double degrees, QColor hull, bool moving) {
  QTransform place = QTransform::fromTranslate(centre.x(), centre.y());
  place.rotate(degrees);
  const double hl = length / 2, hw = length * 0.17;
  if (moving) {
    painter.setPen(QPen(WithAlpha(QColor(0xFF, 0xF6, 0xE8), 0.55), 0.5));
    painter.setBrush(Qt::NoBrush);
    for (double side : {-1.0, 1.0}) {
      QPainterPath wake(QPointF(-hl * 0.8, side * hw));
      wake.quadTo(QPointF(-hl * 2.2, side * hw * 2.2), QPointF(-hl * 3.6, side * hw * 4.6));
      painter.drawPath(place.map(wake));
    }
  }
  QPainterPath body(QPointF(-hl, -hw));
  body.lineTo(hl * 0.35, -hw);
  body.quadTo(QPointF(hl * 0.85, -hw), QPointF(hl, 0));
  body.quadTo(QPointF(hl * 0.85, hw), QPointF(hl * 0.35, hw));
  body.lineTo(-hl, hw);
  body.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(WithAlpha(kShadow, 0.28));
  painter.drawPath(place.map(body).translated(ShadowOffset(1.2)));
  painter.setBrush(hull);
  painter.setPen(QPen(Shade(hull, 0.6), 0.4));
  painter.drawPath(place.map(body));
  painter.setPen(Qt::NoPen);
  QPainterPath deck, cabin;
  deck.addRect(QRectF(-hl * 0.75, -hw * 0.55, hl * 1.1, hw * 1.1));
  cabin.addRect(QRectF(-hl * 0.55, -hw * 0.45, hl * 0.4, hw * 0.9));
  painter.setBrush(Shade(hull, 0.82));
  painter.drawPath(place.map(deck));
  painter.setBrush(QColor(0xF4, 0xEE, 0xE0));
  painter.drawPath(place.map(cabin));
}

void DrawTorii(QPainter& painter, QPointF centre, double width, double degrees) {
  const double radians = degrees * std::numbers::pi / 180;
  const QPointF along(std::cos(radians), std::sin(radians));
  const QPointF post = along * width * 0.31;
  // The shadow shows what the lintel hides: two posts and two beams.
  const QPointF fall = ShadowOffset(width * 1.0);
  painter.setPen(QPen(WithAlpha(kShadow, 0.35), 0.9, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(centre - post, centre - post + fall);
  painter.drawLine(centre + post, centre + post + fall);
  painter.drawLine(centre - along * width / 2 + fall, centre + along * width / 2 + fall);
  painter.drawLine(centre - along * width * 0.36 + fall * 0.78, centre + along * width * 0.36 + fall * 0.78);
  painter.setPen(QPen(QColor(0x2A, 0x1E, 0x22), 2.2, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(centre - along * width / 2, centre + along * width / 2);
  painter.setPen(QPen(QColor(0xD8, 0x44, 0x24), 1.5, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(centre - along * width / 2, centre + along * width / 2);
}

void DrawPagoda(QPainter& painter, QPointF centre, double size) {
  const QColor tile(0x4E, 0x55, 0x62);
  // The spire's long shadow first, then each roof from the widest up.
  painter.setPen(QPen(WithAlpha(kShadow, 0.35), 0.8));
  painter.drawLine(centre, centre + ShadowOffset(size * 2.6));
  for (int storey = 0; storey < 5; ++storey) {
    const double s = size * (1.0 - storey * 0.14);
    DrawRoof(painter, centre, s, s, 0, tile, RoofShape::Hipped, storey == 0 ? size * 1.6 : 0.8);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xC9, 0xA6, 0x4A));
  painter.drawEllipse(centre, size * 0.07, size * 0.07);
}

void DrawChannelMarker(QPainter& painter, QPointF base) {
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(WithAlpha(QColor(0xFF, 0xF4, 0xE0), 0.6), 0.4));
  painter.drawEllipse(base, 2.2, 0.9);
  painter.setPen(QPen(WithAlpha(kShadow, 0.45), 0.7, Qt::SolidLine, Qt::FlatCap));
  const QPointF fall = ShadowOffset(9);
  painter.drawLine(base, base + fall);
  painter.drawLine(base + fall * 0.85 + QPointF(-1.4, -1.2), base + fall * 0.85 + QPointF(1.4, 1.2));
  painter.drawLine(base + fall * 0.85 + QPointF(-1.4, 1.2), base + fall * 0.85 + QPointF(1.4, -1.2));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x4A, 0x35, 0x2C));
  painter.drawEllipse(base, 0.85, 0.85);
}

}  // namespace yuunagi::art
