#include "Crests.h"

#include <QPolygonF>
#include <QTransform>
#include <cmath>
#include <numbers>

namespace yuunagi::art {

namespace {

constexpr double kPi = std::numbers::pi;

// Qt flattens curves for its path arithmetic relative to the coordinates, so
// the crests are built a hundred times larger and shrunk when done.
constexpr double kDesignScale = 100;

QPainterPath Up(const QPainterPath& unit) {
  return QTransform::fromScale(kDesignScale, kDesignScale).map(unit);
}

QPainterPath Circle(double x, double y, double r) {
  QPainterPath path;
  path.addEllipse(QPointF(x, y), r, r);
  return Up(path);
}

QPainterPath Ring(double inner, double outer) {
  QPainterPath path = Circle(0, 0, outer);
  return path.subtracted(Circle(0, 0, inner));
}

// A bar of the given width from a to b with square ends.
QPainterPath Bar(QPointF a, QPointF b, double width) {
  const QPointF d = b - a;
  const double length = std::hypot(d.x(), d.y());
  const QPointF n(-d.y() / length * width / 2, d.x() / length * width / 2);
  QPainterPath path;
  path.addPolygon(QPolygonF({a + n, b + n, b - n, a - n}));
  path.closeSubpath();
  return Up(path);
}

QPainterPath Shifted(const QPainterPath& path, double x, double y) {
  return path.translated(x * kDesignScale, y * kDesignScale);
}

QPainterPath Rotated(const QPainterPath& path, double degrees) {
  return QTransform().rotate(degrees).map(path);
}

// ヒノデ: the sun rising over the sea, its rays fanning upwards.
QPainterPath Sunrise() {
  const double horizon = 0.22;
  QPainterPath sun = Circle(0, horizon, 0.36);
  QPainterPath above;
  above.addRect(-1, -1, 2, 1 + horizon - 0.06);
  above = Up(above);
  QPainterPath crest = sun.intersected(above);
  for (int i = 0; i <= 8; ++i) {
    const double angle = kPi + kPi * (i + 0.5) / 9.5 + kPi * 0.25 / 9.5;
    const double spread = 0.075;
    QPolygonF ray;
    ray << QPointF(std::cos(angle - spread) * 0.47, horizon + std::sin(angle - spread) * 0.47)
        << QPointF(std::cos(angle) * 0.8, horizon + std::sin(angle) * 0.8)
        << QPointF(std::cos(angle + spread) * 0.47, horizon + std::sin(angle + spread) * 0.47);
    QPainterPath rayPath;
    rayPath.addPolygon(ray);
    rayPath.closeSubpath();
    crest = crest.united(Up(rayPath).intersected(above));
  }
  // Two bands of sea under the sun, the lower one shorter.
  QPainterPath sea;
  sea.addRoundedRect(QRectF(-0.62, horizon + 0.06, 1.24, 0.12), 0.06, 0.06);
  sea.addRoundedRect(QRectF(-0.42, horizon + 0.26, 0.84, 0.11), 0.055, 0.055);
  return crest.united(Up(sea));
}

// A curl of cloud: a ring open towards the lower right.
QPainterPath Curl(double x, double y, double r, double thickness) {
  QPolygonF opening({{0, 0}, {2 * r, 0.2 * r}, {0.4 * r, 2 * r}});
  QPainterPath cut;
  cut.addPolygon(opening);
  cut.closeSubpath();
  return Shifted(Ring(r - thickness, r).subtracted(Up(cut)), x, y);
}

// ソラノ: a cloud with curling edges drifting over two wind lines.
QPainterPath Cloud() {
  QPainterPath cloud = Circle(-0.32, -0.02, 0.26);
  cloud = cloud.united(Circle(0.04, -0.20, 0.34));
  cloud = cloud.united(Circle(0.38, 0.02, 0.24));
  QPainterPath base;
  base.addRoundedRect(QRectF(-0.64, -0.02, 1.28, 0.26), 0.13, 0.13);
  cloud = cloud.united(Up(base));
  // Curls cut into the puffs, as on old cloud crests.
  cloud = cloud.subtracted(Curl(-0.32, 0.0, 0.15, 0.055));
  cloud = cloud.subtracted(Curl(0.04, -0.17, 0.21, 0.06));
  cloud = cloud.subtracted(Curl(0.38, 0.04, 0.13, 0.05));
  cloud = cloud.united(Circle(-0.32, 0.0, 0.045))
              .united(Circle(0.04, -0.17, 0.06))
              .united(Circle(0.38, 0.04, 0.04));
  QPainterPath wind;
  wind.addRoundedRect(QRectF(-0.55, 0.38, 0.95, 0.09), 0.045, 0.045);
  wind.addRoundedRect(QRectF(-0.25, 0.56, 0.75, 0.09), 0.045, 0.045);
  return cloud.united(Up(wind));
}

// ハナミ: a cherry blossom of five notched petals.
QPainterPath CherryBlossom() {
  QPainterPath petal;
  petal.moveTo(0, -0.14);
  petal.cubicTo(-0.22, -0.30, -0.42, -0.55, -0.22, -0.80);
  petal.quadTo(-0.10, -0.86, 0.0, -0.72);
  petal.quadTo(0.10, -0.86, 0.22, -0.80);
  petal.cubicTo(0.42, -0.55, 0.22, -0.30, 0, -0.14);
  petal.closeSubpath();
  petal = Up(petal);
  QPainterPath flower;
  for (int i = 0; i < 5; ++i) flower = flower.united(Rotated(petal, 72.0 * i));
  flower = flower.united(Circle(0, 0, 0.2)).subtracted(Circle(0, 0, 0.12));
  flower = flower.united(Circle(0, 0, 0.06));
  // Stamens: small dots between the petals.
  for (int i = 0; i < 5; ++i) {
    const double angle = -kPi / 2 + kPi / 5 + 2 * kPi * i / 5;
    flower = flower.subtracted(Circle(std::cos(angle) * 0.27, std::sin(angle) * 0.27, 0.035));
  }
  return flower;
}

// トコナ: an evergreen pine of three tiers of needles on a short trunk.
QPainterPath Pine() {
  QPainterPath tree;
  struct Tier {
    double y, rx, ry;
  };
  for (const Tier tier : {Tier{-0.30, 0.34, 0.34}, Tier{0.06, 0.56, 0.36}, Tier{0.42, 0.76, 0.36}}) {
    QPainterPath dome;
    dome.moveTo(-tier.rx, tier.y);
    dome.arcTo(QRectF(-tier.rx, tier.y - tier.ry, 2 * tier.rx, 2 * tier.ry), 180, -180);
    dome.closeSubpath();
    dome = Up(dome);
    // The needles: narrow wedges cut from the centre of the tier's base.
    for (int i = 1; i < 9; ++i) {
      const double angle = kPi + kPi * i / 9;
      QPolygonF wedge;
      wedge << QPointF(0, tier.y + 0.02)
            << QPointF(std::cos(angle - 0.035) * 2, tier.y + std::sin(angle - 0.035) * 2)
            << QPointF(std::cos(angle + 0.035) * 2, tier.y + std::sin(angle + 0.035) * 2);
      QPainterPath cut;
      cut.addPolygon(wedge);
      cut.closeSubpath();
      QPainterPath tip;  // keep a solid rim at the top of each tier
      tip.addEllipse(QRectF(-tier.rx * 0.55, tier.y - tier.ry * 0.55, tier.rx * 1.1, tier.ry * 1.1));
      dome = dome.subtracted(Up(cut).intersected(Up(tip)));
    }
    tree = tree.united(dome);
  }
  QPainterPath trunk;
  trunk.addRect(QRectF(-0.07, 0.42, 0.14, 0.32));
  return tree.united(Up(trunk));
}

// セリ: three serrated dropwort leaves on their stalks.
QPainterPath Dropwort() {
  QPolygonF outline;
  const int steps = 30;
  const double base = 0.30, tip = 0.86;
  for (int side = 0; side < 2; ++side) {
    for (int k = 0; k <= steps; ++k) {
      const int i = side == 0 ? k : steps - k;
      const double t = static_cast<double>(i) / steps;
      // Widest a little below the middle, pointed at the tip.
      double half = 0.19 * std::pow(std::sin(kPi * std::pow(t, 0.8)), 0.9);
      if (i % 2 == 1 && i > 1 && i < steps - 1) half += 0.035;  // the saw teeth
      outline << QPointF(side == 0 ? -half : half, -(base + (tip - base) * t));
    }
  }
  QPainterPath leaf;
  leaf.addPolygon(outline);
  leaf.closeSubpath();
  leaf = Up(leaf).subtracted(Bar(QPointF(0, -0.34), QPointF(0, -0.78), 0.035));
  for (int i = 1; i <= 3; ++i) {
    const double y = -0.36 - i * 0.11;
    for (double side : {-1.0, 1.0})
      leaf = leaf.subtracted(Bar(QPointF(0, y), QPointF(side * 0.12, y - 0.09), 0.025));
  }
  leaf = leaf.united(Bar(QPointF(0, 0), QPointF(0, -0.34), 0.06));
  QPainterPath plant = Circle(0, 0, 0.1);
  for (int i = 0; i < 3; ++i) plant = plant.united(Rotated(leaf, 120.0 * i));
  return plant;
}

// ミオツ: a channel marker post (澪標) standing in the waves.
QPainterPath ChannelMarker() {
  QPainterPath marker = Bar(QPointF(0, -0.80), QPointF(0, 0.42), 0.13);
  marker = marker.united(Bar(QPointF(-0.34, -0.66), QPointF(0.34, -0.20), 0.11));
  marker = marker.united(Bar(QPointF(0.34, -0.66), QPointF(-0.34, -0.20), 0.11));
  marker = marker.united(Bar(QPointF(-0.40, -0.70), QPointF(0.40, -0.70), 0.1));
  // Two rows of wave crests (青海波) at its foot.
  QPainterPath waves;
  for (int row = 0; row < 2; ++row) {
    const double y = 0.50 + row * 0.2;
    const double offset = row == 0 ? 0.0 : 0.18;
    for (int i = -2; i <= 2; ++i) {
      const double x = i * 0.36 + offset;
      QPainterPath crest = Shifted(Ring(0.10, 0.17), x, y + 0.1);
      QPainterPath upper;
      upper.addRect(QRectF(x - 0.2, y - 0.2, 0.4, 0.3));
      waves = waves.united(crest.intersected(Up(upper)));
    }
  }
  QPainterPath inside = Circle(0, 0, 0.84);
  return marker.united(waves.intersected(inside));
}

}  // namespace

QColor FactionColour(int faction) {
  static const QColor colours[kFactionCount] = {
      QColor(0xD8, 0x4A, 0x2A),  // ヒノデ
      QColor(0x36, 0x8C, 0xD0),  // ソラノ
      QColor(0xD6, 0x55, 0x8E),  // ハナミ
      QColor(0x2E, 0x8A, 0x4E),  // トコナ
      QColor(0xC8, 0x9C, 0x14),  // セリ
      QColor(0x7C, 0x4C, 0xB4),  // ミオツ
  };
  return colours[((faction % kFactionCount) + kFactionCount) % kFactionCount];
}

QPainterPath CrestPath(int faction) {
  QPainterPath motif;
  switch (((faction % kFactionCount) + kFactionCount) % kFactionCount) {
    case 0: motif = Sunrise(); break;
    case 1: motif = Cloud(); break;
    case 2: motif = CherryBlossom(); break;
    case 3: motif = Pine(); break;
    case 4: motif = Dropwort(); break;
    default: motif = ChannelMarker(); break;
  }
  QPainterPath crest = Ring(0.88, 1.0).united(motif);
  return QTransform::fromScale(1 / kDesignScale, 1 / kDesignScale).map(crest);
}

}  // namespace yuunagi::art
