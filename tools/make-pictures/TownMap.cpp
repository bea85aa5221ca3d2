#include "TownMap.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "MapFeatures.h"
#include "Noise.h"

namespace yuunagi::art {

namespace {

// Everything below is laid out in window pixels (516 × 438); the painter
// scales it onto the picture, which has twice as many.
constexpr double kWidth = kMapWidth / 2.0;
constexpr double kHeight = kMapHeight / 2.0;

const QColor kRoofGrey(0x5E, 0x6A, 0x80);
const QColor kRoofSlate(0x4E, 0x57, 0x68);
const QColor kRoofBrown(0x8C, 0x5F, 0x4A);
const QColor kRoofRust(0xA8, 0x5E, 0x44);
const QColor kRoofCopper(0x5C, 0x96, 0x84);
const QColor kGravel(0xE8, 0xDE, 0xC6);
const QColor kStreet(0xE4, 0xD5, 0xAE);

// The sea at evening calm mirrors the sky: gold near the sun's glow in the
// north-east, rose, then lavender and blue towards the south-west.
QColor SeaColour(double x, double y) {
  const double t = std::clamp(0.64 * (y / kHeight) + 0.36 * ((kWidth - x) / kWidth), 0.0, 1.0);
  struct Stop {
    double at;
    QColor colour;
  };
  static const Stop stops[] = {{0.00, QColor(0xF4, 0xCB, 0x8E)},
                               {0.28, QColor(0xE9, 0xAE, 0x98)},
                               {0.50, QColor(0xB8, 0xA2, 0xBC)},
                               {0.74, QColor(0x84, 0x8F, 0xBC)},
                               {1.00, QColor(0x5E, 0x70, 0xA4)}};
  for (std::size_t i = 1; i < std::size(stops); ++i) {
    if (t <= stops[i].at) {
      return Mix(stops[i - 1].colour, stops[i].colour,
                 (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
    }
  }
  return stops[std::size(stops) - 1].colour;
}

QRgb Scaled(QColor colour, double factor) {
  return qRgb(std::clamp(static_cast<int>(colour.red() * factor), 0, 255),
              std::clamp(static_cast<int>(colour.green() * factor), 0, 255),
              std::clamp(static_cast<int>(colour.blue() * factor), 0, 255));
}

// A full-size layer computed pixel by pixel from window coordinates.
QImage PixelLayer(const std::function<QRgb(double, double)>& colourAt) {
  QImage layer(kMapWidth, kMapHeight, QImage::Format_RGB32);
  for (int y = 0; y < kMapHeight; ++y) {
    auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
    for (int x = 0; x < kMapWidth; ++x) line[x] = colourAt((x + 0.5) / 2, (y + 0.5) / 2);
  }
  return layer;
}

QPainterPath Rect(double x, double y, double w, double h) {
  QPainterPath path;
  path.addRect(x, y, w, h);
  return path;
}

QPainterPath Ellipse(QPointF centre, double rx, double ry) {
  QPainterPath path;
  path.addEllipse(centre, rx, ry);
  return path;
}

class TownMapPainter {
 public:
  TownMapPainter() : image_(kMapWidth, kMapHeight, QImage::Format_RGB32), painter_(&image_), dice_(20040801) {
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    painter_.scale(2, 2);
    land_ = SmoothPath(
        {{-30, -30}, {383, -30}, {381, 8},   {387, 46},  {379, 88},  {385, 128}, {377, 166}, {382, 202},
         {376, 238}, {380, 276}, {374, 316}, {363, 341}, {330, 350}, {290, 346}, {256, 351}, {215, 348},
         {175, 352}, {142, 349}, {122, 352}, {80, 349},  {40, 353},  {0, 350},   {-30, 352}},
        true);
    sea_ = Rect(-40, -40, kWidth + 80, kHeight + 80).subtracted(land_);
  }

  QImage Paint() {
    Sea();
    Land();
    Grounds();
    River();
    Roads();
    ShrineHill();
    Residences();
    CherryPark();
    TempleWoods();
    DropwortFields();
    Harbour();
    SeaLife();
    EveningLight();
    Haze();
    painter_.end();
    return image_;
  }

 private:
  QPainter& P() { return painter_; }

  void Layer(const QImage& layer, const QPainterPath& clip) {
    P().save();
    P().setClipPath(clip);
    P().drawImage(QRectF(0, 0, kWidth, kHeight), layer);
    P().restore();
  }

  void Sea() {
    P().drawImage(QRectF(0, 0, kWidth, kHeight), PixelLayer([](double x, double y) {
                    const QColor base = SeaColour(x, y);
                    // Long, low ripples: the water barely moves.
                    const double ripple = ValueNoise(x / 34.0, y / 3.2, 11) - 0.5;
                    const double swell = FractalNoise(x / 90.0, y / 40.0, 12, 3) - 0.5;
                    const double shade = 1.0 + ripple * 0.035 + swell * 0.06;
                    const double glint = ValueNoise(x / 9.0, y / 1.4, 13);
                    QColor colour = QColor::fromRgb(Scaled(base, shade));
                    if (glint > 0.80) colour = Mix(colour, QColor(0xFF, 0xF1, 0xD6), (glint - 0.80) * 2.2);
                    return colour.rgb();
                  }));
    // Shallows: paler water along the shore.
    P().save();
    P().setClipPath(sea_);
    P().setBrush(Qt::NoBrush);
    for (double width : {34.0, 22.0, 13.0, 7.0}) {
      P().setPen(QPen(QColor(0xD6, 0xE0, 0xC8, 34), width));
      P().drawPath(land_);
    }
    P().restore();
  }

  void Land() {
    Layer(PixelLayer([](double x, double y) {
            const double broad = FractalNoise(x / 60.0, y / 60.0, 21, 4);
            const double fine = ValueNoise(x / 2.2, y / 2.2, 22) - 0.5;
            QColor grass = Mix(QColor(0x8E, 0xA6, 0x5A), QColor(0xBF, 0xB8, 0x6E), broad * 1.3 - 0.15);
            return Scaled(grass, 1.0 + fine * 0.07);
          }),
          land_);
    // Sand along the shore, stone quays where the harbour meets the sea.
    P().save();
    P().setClipPath(land_);
    P().setBrush(Qt::NoBrush);
    P().setPen(QPen(QColor(0xEC, 0xDA, 0xAC), 11));
    P().drawPath(land_);
    P().setPen(QPen(QColor(0xD2, 0xBC, 0x8C), 3));
    P().drawPath(land_);
    P().setClipPath(land_.intersected(Rect(344, 186, 60, 150)));
    P().setPen(QPen(QColor(0xB4, 0xAC, 0x9E), 7));
    P().drawPath(land_);
    P().setPen(QPen(QColor(0x7E, 0x76, 0x70), 1.2));
    P().drawPath(land_);
    P().restore();
    // Foam where the calm sea touches the sand.
    P().save();
    P().setClipPath(sea_);
    P().setPen(QPen(QColor(0xFF, 0xF8, 0xEA, 170), 1.6));
    P().drawPath(land_);
    P().restore();
  }

  void Grounds() {
    P().save();
    P().setClipPath(land_);
    P().setPen(Qt::NoPen);
    // Bare earth of the built-up districts.
    P().setBrush(QColor(0xD0, 0xC0, 0x98, 215));
    P().drawRoundedRect(QRectF(139, -10, 108, 184), 6, 6);
    P().setBrush(QColor(0xCF, 0xC4, 0xA8, 225));
    P().drawRoundedRect(QRectF(258, 186, 140, 170), 6, 6);
    // The contours of the shrine's hill, lighter towards the top.
    for (int ring = 0; ring < 5; ++ring) {
      P().setBrush(QColor(0xB6, 0xBE, 0x6C, 30 + ring * 10));
      P().drawEllipse(QPointF(60, 58), 70 - ring * 12, 66 - ring * 11);
    }
    // Lawns of the park.
    P().setBrush(QColor(0xB8, 0xC8, 0x74, 120));
    P().drawRoundedRect(QRectF(260, -10, 120, 168), 20, 20);
    P().restore();
  }

  void River() {
    const QPainterPath river = SmoothPath({{131, -12},
                                           {129, 30},
                                           {134, 72},
                                           {128, 112},
                                           {133, 150},
                                           {132, 180},
                                           {129, 216},
                                           {135, 256},
                                           {130, 296},
                                           {133, 330},
                                           {131, 372}},
                                          false);
    P().save();
    P().setBrush(Qt::NoBrush);
    P().setClipPath(land_);
    P().setPen(QPen(QColor(0x8E, 0x8A, 0x5E, 200), 12.5, Qt::SolidLine, Qt::FlatCap));
    P().drawPath(river);
    QLinearGradient water(0, 0, 0, kHeight);
    water.setColorAt(0.0, QColor(0xB0, 0xC4, 0xD2));
    water.setColorAt(0.5, QColor(0xC9, 0xB0, 0xB6));
    water.setColorAt(1.0, QColor(0x9C, 0x9E, 0xC4));
    P().setPen(QPen(QBrush(water), 8.5, Qt::SolidLine, Qt::FlatCap));
    P().drawPath(river);
    // The evening sky caught along the western bank.
    P().setPen(QPen(QColor(0xFF, 0xEC, 0xD4, 120), 1.4));
    P().drawPath(river.translated(-2, 0));
    P().setPen(QPen(QColor(0x5C, 0x5A, 0x7C, 60), 1.2));
    P().drawPath(river.translated(2.8, 0));
    // Where it meets the sea the river fans out over pale sandbanks.
    P().setClipPath(sea_);
    P().setPen(Qt::NoPen);
    QRadialGradient mouth(QPointF(132, 352), 22);
    mouth.setColorAt(0, QColor(0xE6, 0xD8, 0xC0, 150));
    mouth.setColorAt(1, QColor(0xE6, 0xD8, 0xC0, 0));
    P().setBrush(mouth);
    P().drawEllipse(QPointF(132, 356), 26, 12);
    P().restore();
  }

  void Road(const QPainterPath& path, double width) {
    P().setBrush(Qt::NoBrush);
    P().setPen(QPen(QColor(0xA4, 0x8E, 0x66, 200), width + 1.4, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    P().drawPath(path);
    P().setPen(QPen(QColor(0xE8, 0xD6, 0xA8), width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    P().drawPath(path);
  }

  void Street(const QPainterPath& path) {
    P().setBrush(Qt::NoBrush);
    P().setPen(QPen(kStreet, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    P().drawPath(path);
  }

  QPainterPath Line(QPointF a, QPointF b) {
    QPainterPath path(a);
    path.lineTo(b);
    return path;
  }

  void Bridge(QRectF deck, QColor wood) {
    P().setPen(Qt::NoPen);
    P().setBrush(QColor(0x3B, 0x2A, 0x46, 70));
    P().drawRect(deck.translated(ShadowOffset(2)));
    P().setBrush(wood);
    P().drawRect(deck);
    P().setPen(QPen(wood.darker(160), 0.6));
    P().drawLine(deck.topLeft(), deck.topRight());
    P().drawLine(deck.bottomLeft(), deck.bottomRight());
  }

  void Roads() {
    P().save();
    P().setClipPath(land_);
    // Streets of the town: a grid in the houses, lanes in the harbour.
    for (double x : {164.0, 194.0, 222.0}) Street(Line({x, -5}, {x, 177}));
    for (double y : {30.0, 60.0, 100.0, 130.0, 156.0}) Street(Line({136, y}, {249, y}));
    for (double y : {214.0, 248.0, 282.0, 316.0}) Street(Line({256, y}, {372, y}));
    for (double x : {304.0, 338.0}) Street(Line({x, 184}, {x, 345}));
    Street(SmoothPath({{62, 180}, {64, 150}, {58, 110}, {62, 72}, {62, 52}}, false));
    Street(SmoothPath({{62, 52}, {92, 48}, {118, 46}, {150, 44}, {164, 44}}, false));
    Street(Line({84, 184}, {84, 300}));
    Street(SmoothPath({{256, 120}, {286, 112}, {300, 80}, {296, 62}}, false));
    Street(SmoothPath({{340, 62}, {352, 96}, {344, 140}, {330, 177}}, false));
    Street(Line({136, 226}, {249, 226}));
    // The two main roads meet where four districts touch.
    Road(Line({-10, 180.5}, {376, 180.5}), 5.6);
    Road(Line({252.5, -10}, {252.5, 342}), 5.6);
    P().restore();
    Bridge(QRectF(123, 176.5, 17, 8), QColor(0xB2, 0x86, 0x5A));
    Bridge(QRectF(124, 41.5, 14, 4.5), QColor(0xC8, 0x52, 0x32));
  }

  // Trees scattered over an area on a jittered grid, drawn back to front.
  void Forest(const QPainterPath& area, double spacing, double radius,
              std::initializer_list<TreeKind> kinds) {
    struct Tree {
      QPointF at;
      double r;
      TreeKind kind;
    };
    std::vector<Tree> trees;
    const QRectF box = area.boundingRect();
    const std::vector<TreeKind> choice(kinds);
    for (double y = box.top(); y <= box.bottom(); y += spacing) {
      for (double x = box.left(); x <= box.right(); x += spacing) {
        const QPointF at(x + dice_.Range(-0.45, 0.45) * spacing, y + dice_.Range(-0.45, 0.45) * spacing);
        const double r = radius * dice_.Range(0.75, 1.2);
        const TreeKind kind =
            choice[static_cast<std::size_t>(dice_.Between(0, static_cast<int>(choice.size()) - 1))];
        if (area.contains(at)) trees.push_back({at, r, kind});
      }
    }
    std::stable_sort(trees.begin(), trees.end(),
                     [](const Tree& a, const Tree& b) { return a.at.y() < b.at.y(); });
    for (const Tree& tree : trees) DrawTree(P(), tree.at, tree.r, tree.kind, dice_);
  }

  // Houses packed along both long sides of a town block.
  void Block(QRectF block, std::initializer_list<QColor> roofs) {
    const std::vector<QColor> palette(roofs);
    const bool across = block.width() >= block.height();
    const double run = across ? block.width() : block.height();
    const double deep = (across ? block.height() : block.width()) / 2;
    for (int side = 0; side < 2; ++side) {
      double at = 1.0;
      while (at < run - 6) {
        const double length = std::min(dice_.Range(7, 12), run - at - 1);
        const double depth = std::min(deep - 1.4, dice_.Range(6, 8.5));
        if (dice_.Unit() < 0.12) {
          // A garden instead of a house.
          const QPointF centre = across
                                     ? QPointF(block.left() + at + length / 2,
                                               side == 0 ? block.top() + deep / 2 : block.bottom() - deep / 2)
                                     : QPointF(side == 0 ? block.left() + deep / 2 : block.right() - deep / 2,
                                               block.top() + at + length / 2);
          DrawTree(P(), centre, std::min(length, deep) * 0.4, TreeKind::Broadleaf, dice_);
        } else {
          const double inset = 0.8 + depth / 2;
          const QPointF centre = across ? QPointF(block.left() + at + length / 2,
                                                  side == 0 ? block.top() + inset : block.bottom() - inset)
                                        : QPointF(side == 0 ? block.left() + inset : block.right() - inset,
                                                  block.top() + at + length / 2);
          const QColor roof =
              palette[static_cast<std::size_t>(dice_.Between(0, static_cast<int>(palette.size()) - 1))];
          const RoofShape shape = dice_.Unit() < 0.5 ? RoofShape::Hipped : RoofShape::Gabled;
          DrawRoof(P(), centre, length, depth, across ? 0 : 90, roof, shape, dice_.Range(2.2, 3.6));
        }
        at += length + dice_.Range(0.8, 2.2);
      }
    }
  }

  // ヒノデ: a wooded hill with the shrine at its top, facing the sunrise.
  void ShrineHill() {
    const QPainterPath clearing = Ellipse({62, 36}, 30, 22);
    const QPainterPath approach = Rect(56, 52, 12, 130);
    const QPainterPath houses = Rect(0, 156, 122, 24);
    Forest(Rect(-4, -4, 126, 162).subtracted(clearing).subtracted(approach).subtracted(houses), 8.5, 5.4,
           {TreeKind::Cedar, TreeKind::Cedar, TreeKind::Broadleaf, TreeKind::Pine});
    P().setPen(Qt::NoPen);
    P().setBrush(kGravel);
    P().drawPath(Ellipse({62, 36}, 25, 17));
    DrawRoof(P(), {62, 27}, 24, 13, 0, kRoofCopper, RoofShape::Gabled, 5);
    DrawRoof(P(), {62, 40}, 16, 8, 0, kRoofCopper, RoofShape::Hipped, 3.5);
    P().setPen(Qt::NoPen);
    P().setBrush(QColor(0xF6, 0xEC, 0xD0));
    for (double x : {47.0, 77.0}) P().drawEllipse(QPointF(x, 47), 1.3, 1.3);  // stone lanterns
    DrawTorii(P(), {62, 56}, 11, 0);
    DrawTorii(P(), {63, 166}, 9, 0);
    Block(QRectF(4, 160, 50, 16), {kRoofGrey, kRoofBrown, kRoofSlate});
    Block(QRectF(72, 160, 48, 16), {kRoofGrey, kRoofBrown, kRoofSlate});
  }

  // ソラノ: the tiled roofs of the houses, with the fire lookout above them.
  void Residences() {
    const double columns[] = {136, 164, 194, 222, 249};
    const double rows[] = {-6, 30, 60, 100, 130, 156, 177};
    for (int r = 0; r + 1 < static_cast<int>(std::size(rows)); ++r) {
      for (int c = 0; c + 1 < static_cast<int>(std::size(columns)); ++c) {
        const QRectF block(columns[c] + 2.4, rows[r] + 2.4, columns[c + 1] - columns[c] - 4.8,
                           rows[r + 1] - rows[r] - 4.8);
        if (c == 0) {
          // Willows and gardens along the river.
          Forest(Rect(block.left() + 3, block.top(), block.width() - 6, block.height()), 9, 3.6,
                 {TreeKind::Broadleaf, TreeKind::Shrub});
          continue;
        }
        if (r == 3 && c == 2) {
          SchoolYard(block);
          continue;
        }
        Block(block, {kRoofGrey, kRoofGrey, kRoofSlate, kRoofBrown, kRoofRust});
        if (block.height() > 30) {
          // Deep blocks get a middle row of houses too.
          Block(QRectF(block.left(), block.center().y() - 4.5, block.width(), 9), {kRoofGrey, kRoofSlate});
        }
      }
    }
    // The fire lookout: a thin tower and its very long shadow.
    const QPointF tower(209, 78);
    P().setPen(QPen(QColor(0x3B, 0x2A, 0x46, 110), 1.2, Qt::SolidLine, Qt::FlatCap));
    P().drawLine(tower, tower + ShadowOffset(22));
    P().setPen(Qt::NoPen);
    P().setBrush(QColor(0x7A, 0x3E, 0x2E));
    P().drawRect(QRectF(tower.x() - 1.6, tower.y() - 1.6, 3.2, 3.2));
    P().setBrush(QColor(0xE8, 0xC0, 0x4A));
    P().drawEllipse(tower, 0.7, 0.7);
  }

  void SchoolYard(QRectF block) {
    P().setPen(Qt::NoPen);
    P().setBrush(QColor(0xE2, 0xC9, 0x98));
    P().drawRoundedRect(block.adjusted(0, 0, 0, -13), 2, 2);
    P().setPen(QPen(QColor(0xFF, 0xF6, 0xE6, 150), 0.5));
    P().setBrush(Qt::NoBrush);
    P().drawEllipse(block.adjusted(0, 0, 0, -13).center(), 8, 6);
    DrawRoof(P(), {block.center().x(), block.bottom() - 5.5}, block.width() - 2, 9, 0, kRoofRust,
             RoofShape::Hipped, 4.5);
  }

  // ハナミ: the cherry park around a pond, with a red bridge and a tea house.
  void CherryPark() {
    const QPointF pond(318, 44);
    const QPainterPath pondShape = SmoothPath(
        {{290, 44}, {300, 30}, {320, 27}, {342, 34}, {348, 48}, {334, 60}, {312, 62}, {296, 56}}, true);
    P().setPen(QPen(QColor(0xA0, 0x98, 0x80), 2.4));
    P().setBrush(Qt::NoBrush);
    P().drawPath(pondShape);
    QLinearGradient water(pond.x(), pond.y() - 18, pond.x(), pond.y() + 18);
    water.setColorAt(0, QColor(0xEE, 0xC4, 0x9E));
    water.setColorAt(1, QColor(0xB4, 0xA8, 0xC6));
    P().setPen(Qt::NoPen);
    P().setBrush(water);
    P().drawPath(pondShape);
    P().setBrush(QColor(0xFF, 0xF0, 0xDC, 110));
    P().drawEllipse(QPointF(308, 38), 7, 1.2);
    // The arched bridge over the pond's waist.
    P().setPen(QPen(QColor(0x3B, 0x2A, 0x46, 80), 3.4, Qt::SolidLine, Qt::FlatCap));
    P().drawLine(QPointF(323, 27) + ShadowOffset(2), QPointF(326, 61) + ShadowOffset(2));
    P().setPen(QPen(QColor(0xD4, 0x46, 0x2A), 3.0, Qt::SolidLine, Qt::FlatCap));
    P().drawLine(QPointF(323, 27), QPointF(326, 61));
    P().setPen(QPen(QColor(0xF2, 0xB0, 0x7A), 0.6));
    P().drawLine(QPointF(322.2, 27), QPointF(325.2, 61));
    DrawRoof(P(), {356, 70}, 12, 8, -8, kRoofBrown, RoofShape::Hipped, 3);

    const QPainterPath around = Rect(258, -4, 120, 178)
                                    .subtracted(Ellipse(pond, 36, 24))
                                    .subtracted(Rect(258, 176, 130, 10))
                                    .intersected(land_.translated(-6, 0));
    Forest(around, 10.5, 5.8, {TreeKind::Cherry, TreeKind::Cherry, TreeKind::Cherry, TreeKind::Broadleaf});
    // Pines along the beach.
    Forest(land_.subtracted(land_.translated(-8, 0)).intersected(Rect(340, -4, 60, 176)), 9, 3.4,
           {TreeKind::Pine});
  }

  // トコナ: the old temple in its evergreen woods, with the pagoda.
  void TempleWoods() {
    const QRectF compound(44, 210, 72, 88);
    const QPainterPath woods = Rect(-4, 184, 128, 164)
                                   .intersected(land_.translated(0, -10))
                                   .subtracted(Rect(compound.left() - 2, compound.top() - 2,
                                                    compound.width() + 4, compound.height() + 4));
    Forest(woods, 8, 5.2, {TreeKind::Pine, TreeKind::Cedar, TreeKind::Pine, TreeKind::Broadleaf});
    // Moss garden inside white plastered walls with a tiled top.
    P().setPen(Qt::NoPen);
    P().setBrush(QColor(0x8E, 0xA8, 0x5C));
    P().drawRect(compound);
    // Raked gravel in front of the main hall, and the paved approach.
    const QRectF court(60, 232, 52, 50);
    P().setBrush(kGravel);
    P().drawRect(court);
    P().setPen(QPen(QColor(0xC8, 0xBC, 0x9E), 0.45));
    for (double y = court.top() + 1.6; y < court.bottom(); y += 1.8) {
      P().drawLine(QPointF(court.left() + 0.6, y), QPointF(court.right() - 0.6, y));
    }
    P().setPen(Qt::NoPen);
    P().setBrush(QColor(0xD6, 0xCC, 0xB4));
    P().drawRect(QRectF(80.5, 264, 7, 36));
    P().setBrush(Qt::NoBrush);
    P().setPen(QPen(QColor(0x50, 0x56, 0x64), 2.6));
    P().drawRect(compound);
    P().setPen(QPen(QColor(0xF4, 0xF0, 0xE6), 1.2));
    P().drawRect(compound);
    // A little pond with stepping stones.
    P().setPen(QPen(QColor(0x9A, 0x94, 0x82), 0.8));
    P().setBrush(QColor(0xC4, 0xB0, 0xC0));
    P().drawPath(SmoothPath({{50, 268}, {56, 262}, {62, 266}, {60, 278}, {54, 286}, {48, 280}}, true));
    Dice garden(77);
    for (QPointF at :
         {QPointF(50, 256), QPointF(64, 292), QPointF(108, 216), QPointF(110, 292), QPointF(52, 216)}) {
      DrawTree(P(), at, 4.4, TreeKind::Pine, garden);
    }
    DrawRoof(P(), {86, 248}, 36, 22, 0, kRoofSlate, RoofShape::Hipped, 7);
    DrawRoof(P(), {102, 276}, 10, 7, 90, kRoofSlate, RoofShape::Hipped, 4);  // the bell tower
    DrawRoof(P(), {84, 298}, 16, 7, 0, kRoofSlate, RoofShape::Hipped, 4);    // the gate
    DrawPagoda(P(), {58, 230}, 12);
  }

  // セリ: flooded fields of water dropwort along the river, and the market.
  void DropwortFields() {
    Dice fields(4242);
    for (double y = 232; y < 340; y += 15) {
      for (double x = 140; x < 246; x += 21.5) {
        const QRectF paddy(x, y, 20, 13.6);
        if (!land_.contains(paddy.bottomRight() + QPointF(0, 2))) continue;
        const double growth = fields.Unit();
        if (growth < 0.1) continue;  // a dry field left between the wet ones
        // The still water mirrors the evening sky; the more dropwort has
        // grown, the greener the field.
        // Fields just flooded for planting are bare water.
        const bool flooded = growth < 0.32;
        const double green = flooded ? 0.05 : 0.25 + growth * 0.6;
        QLinearGradient sky(paddy.topLeft(), paddy.bottomRight());
        sky.setColorAt(0, Mix(QColor(0xF6, 0xCE, 0x98), QColor(0x9C, 0xBC, 0x62), green));
        sky.setColorAt(1, Mix(QColor(0xD4, 0xAC, 0xB4), QColor(0x86, 0xAC, 0x5A), green));
        P().setPen(QPen(QColor(0xC4, 0xC8, 0x7C), 1.3));
        P().setBrush(sky);
        P().drawRect(paddy);
        if (!flooded) {
          P().setPen(QPen(QColor(0x4A, 0x80, 0x3A, 90 + static_cast<int>(growth * 80)), 0.55));
          for (double row = paddy.top() + 2.0; row < paddy.bottom() - 1; row += 1.9) {
            P().drawLine(QPointF(paddy.left() + 1.4, row), QPointF(paddy.right() - 1.4, row));
          }
        }
        P().setPen(QPen(QColor(0xFF, 0xF0, 0xDC, 90), 0.5));
        P().drawLine(paddy.topLeft() + QPointF(0.8, 0.9), paddy.topRight() + QPointF(-0.8, 0.9));
      }
    }
    // The market hall where the dropwort is auctioned, by the main road.
    P().setPen(Qt::NoPen);
    P().setBrush(QColor(0xDC, 0xCC, 0xA4));
    P().drawRect(QRectF(140, 188, 108, 36));
    DrawRoof(P(), {196, 200}, 70, 14, 0, kRoofBrown, RoofShape::Gabled, 5);
    Block(QRectF(141, 211, 36, 12), {kRoofGrey, kRoofBrown});
    Block(QRectF(215, 211, 32, 12), {kRoofGrey, kRoofSlate});
    // Farmhouses in their windbreaks.
    Dice farm(99);
    for (QPointF at : {QPointF(170, 282), QPointF(226, 313)}) {
      P().setPen(Qt::NoPen);
      P().setBrush(QColor(0xC8, 0xB8, 0x88));
      P().drawRect(QRectF(at.x() - 10, at.y() - 7, 20, 14));
      for (int i = 0; i < 4; ++i) DrawTree(P(), at + QPointF(-10 + i * 6.5, -8), 3.4, TreeKind::Cedar, farm);
      DrawRoof(P(), at, 13, 8, 0, QColor(0xA8, 0x8C, 0x5A), RoofShape::Hipped, 3);
    }
  }

  // ミオツ: the harbour: storehouses, the fish market, quays and boats.
  void Harbour() {
    const double lanes[] = {184, 214, 248, 282, 316, 346};
    const double columns[] = {256, 304, 338, 378};
    for (int r = 0; r + 1 < static_cast<int>(std::size(lanes)); ++r) {
      for (int c = 0; c + 1 < static_cast<int>(std::size(columns)); ++c) {
        const QRectF block(columns[c] + 2.4, lanes[r] + 2.4, columns[c + 1] - columns[c] - 4.8,
                           lanes[r + 1] - lanes[r] - 4.8);
        if (c == 2) continue;  // the quay side stays open
        // Storehouses (kura): dark tiles over white walls.
        Block(block, {kRoofSlate, kRoofSlate, kRoofGrey, kRoofBrown});
      }
    }
    // Along the quay: the long roof of the fish market and stacks of crates.
    DrawRoof(P(), {356, 231}, 28, 12, 90, kRoofRust, RoofShape::Gabled, 4);
    DrawRoof(P(), {356, 298}, 30, 11, 90, kRoofGrey, RoofShape::Gabled, 4);
    P().setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
      P().setBrush(i % 2 ? QColor(0x9A, 0x74, 0x52) : QColor(0x6E, 0x84, 0x9A));
      P().drawRect(QRectF(344 + (i % 3) * 3.2, 258 + i * 3.2, 2.6, 2.6));
    }
    // Piers reaching into the harbour.
    for (double y : {214.0, 262.0, 322.0}) {
      const QRectF pier(368, y - 2, 24, 4);
      P().setBrush(QColor(0x3B, 0x2A, 0x46, 70));
      P().drawRect(pier.translated(ShadowOffset(1.5)));
      P().setBrush(QColor(0xB8, 0xA8, 0x8E));
      P().drawRect(pier);
    }
    const QColor hulls[] = {QColor(0xF2, 0xEC, 0xE0), QColor(0x5A, 0x86, 0xB0), QColor(0xC8, 0x5A, 0x40),
                            QColor(0xF2, 0xEC, 0xE0)};
    DrawBoat(P(), {386, 208}, 11, 180, hulls[0], false);
    DrawBoat(P(), {388, 221}, 10, 176, hulls[1], false);
    DrawBoat(P(), {384, 256}, 9, 184, hulls[2], false);
    DrawBoat(P(), {387, 316}, 11, 180, hulls[3], false);
    // The breakwater with its little lighthouse.
    const QPainterPath breakwater = SmoothPath({{368, 338}, {386, 337}, {404, 330}, {414, 322}}, false);
    P().setBrush(Qt::NoBrush);
    P().setPen(QPen(QColor(0x3B, 0x2A, 0x46, 60), 4, Qt::SolidLine, Qt::RoundCap));
    P().drawPath(breakwater.translated(ShadowOffset(1.5)));
    P().setPen(QPen(QColor(0xB0, 0xA8, 0x9C), 3.6, Qt::SolidLine, Qt::RoundCap));
    P().drawPath(breakwater);
    P().setPen(QPen(QColor(0xD8, 0xD0, 0xC2), 1.2, Qt::SolidLine, Qt::RoundCap));
    P().drawPath(breakwater.translated(-0.6, -0.6));
    P().setPen(QPen(QColor(0x3B, 0x2A, 0x46, 90), 1.6, Qt::SolidLine, Qt::FlatCap));
    P().drawLine(QPointF(414, 322), QPointF(414, 322) + ShadowOffset(12));
    P().setPen(QPen(QColor(0x8A, 0x80, 0x78), 0.4));
    P().setBrush(QColor(0xF8, 0xF4, 0xEC));
    P().drawEllipse(QPointF(414, 322), 2.6, 2.6);
    P().setBrush(QColor(0xD0, 0x44, 0x2C));
    P().drawEllipse(QPointF(414, 322), 1.4, 1.4);
  }

  // Out at sea: the channel markers that name ミオツ, and a few boats.
  void SeaLife() {
    for (int i = 0; i < 5; ++i) {
      DrawChannelMarker(P(), QPointF(424 + i * 13, 318 - i * 9));
    }
    DrawBoat(P(), {452, 236}, 10, 200, QColor(0xF2, 0xEC, 0xE0), true);
    DrawBoat(P(), {470, 140}, 8, 170, QColor(0x5A, 0x86, 0xB0), true);
    DrawBoat(P(), {70, 392}, 10, 8, QColor(0xC8, 0x5A, 0x40), true);
    DrawBoat(P(), {236, 410}, 8, -4, QColor(0xF2, 0xEC, 0xE0), true);
  }

  // A warm glaze over everything: gold from the sun in the west, violet
  // dusk gathering in the south-east, the corners a little darker.
  void EveningLight() {
    P().save();
    P().setCompositionMode(QPainter::CompositionMode_Multiply);
    P().fillRect(QRectF(0, 0, kWidth, kHeight), QColor(0xFF, 0xEC, 0xD2));
    P().setCompositionMode(QPainter::CompositionMode_SourceOver);
    QLinearGradient glaze(0, 0, kWidth, kHeight);
    glaze.setColorAt(0, QColor(0xFF, 0xC0, 0x60, 48));
    glaze.setColorAt(0.55, QColor(0xFF, 0xB0, 0x90, 10));
    glaze.setColorAt(1, QColor(0x6A, 0x50, 0x98, 40));
    P().fillRect(QRectF(0, 0, kWidth, kHeight), glaze);
    QRadialGradient vignette(QPointF(kWidth * 0.42, kHeight * 0.45), kWidth * 0.72);
    vignette.setColorAt(0.65, QColor(0x40, 0x2A, 0x48, 0));
    vignette.setColorAt(1.0, QColor(0x40, 0x2A, 0x48, 60));
    P().fillRect(QRectF(0, 0, kWidth, kHeight), vignette);
    P().restore();
  }

  // Golden clouds (suyari-gasumi) like those drifting across old screen
  // paintings of towns: stacked bars with round ends, covered in squares of
  // gold leaf.
  static QPainterPath CloudBands(std::initializer_list<QRectF> bars) {
    QPainterPath cloud;
    for (const QRectF& bar : bars) {
      QPainterPath one;
      one.addRoundedRect(bar, bar.height() / 2, bar.height() / 2);
      cloud = cloud.united(one);
    }
    return cloud;
  }

  void GoldCloud(const QPainterPath& shape, std::uint64_t seed) {
    const QRectF box = shape.boundingRect();
    QLinearGradient gold(0, box.top(), 0, box.bottom());
    gold.setColorAt(0, QColor(0xFF, 0xF6, 0xDC, 215));
    gold.setColorAt(1, QColor(0xF6, 0xE0, 0xAA, 215));
    P().setPen(Qt::NoPen);
    P().setBrush(gold);
    P().drawPath(shape);
    // The leaf squares differ a shade from each other.
    Dice leaf(seed);
    P().save();
    P().setClipPath(shape);
    const double square = 13;
    for (double y = std::floor(box.top() / square) * square; y < box.bottom(); y += square) {
      for (double x = std::floor(box.left() / square) * square; x < box.right(); x += square) {
        const bool darker = leaf.Unit() < 0.5;
        P().setBrush(darker ? QColor(0xC8, 0x9C, 0x40, leaf.Between(4, 11))
                            : QColor(0xFF, 0xFF, 0xF4, leaf.Between(8, 22)));
        P().drawRect(QRectF(x, y, square, square));
      }
    }
    P().restore();
    P().setBrush(Qt::NoBrush);
    P().setPen(QPen(QColor(0xC8, 0x9C, 0x50, 210), 0.9));
    P().drawPath(shape);
    P().setPen(QPen(QColor(0xFF, 0xFA, 0xEC, 150), 0.6));
    P().drawPath(shape.translated(0, 1.2).intersected(shape));
  }

  void Haze() {
    // The title of the game is written across this cloud.
    GoldCloud(CloudBands({QRectF(34, 72, 330, 24), QRectF(16, 90, 432, 26), QRectF(40, 110, 424, 24),
                          QRectF(96, 128, 344, 22)}),
              31);
    GoldCloud(CloudBands({QRectF(420, 16, 130, 11), QRectF(398, 24, 120, 12), QRectF(440, 33, 100, 10)}), 32);
    GoldCloud(CloudBands({QRectF(-30, 404, 120, 11), QRectF(-20, 412, 158, 12), QRectF(-30, 421, 104, 11)}),
              33);
  }

  QImage image_;
  QPainter painter_;
  Dice dice_;
  QPainterPath land_;
  QPainterPath sea_;
};

}  // namespace

QImage DrawTownMap() { return TownMapPainter().Paint(); }

}  // namespace yuunagi::art
