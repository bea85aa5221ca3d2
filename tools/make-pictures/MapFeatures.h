// Small things of the town seen from above, lit by the low evening sun in
// the west: roofs, trees, boats, a torii, a pagoda, channel markers. Every
// shape casts its shadow towards the east.
#pragma once

#include <QColor>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>

#include "Noise.h"

namespace yuunagi::art {

// How far a shadow falls (in px, east and a little south) per px of height.
QPointF ShadowOffset(double height);

// A closed or open curve through the points (Catmull-Rom, as cubic Béziers).
QPainterPath SmoothPath(const QList<QPointF>& points, bool closed);

QColor Mix(QColor a, QColor b, double t);

enum class RoofShape { Hipped, Gabled };

// A roof of `length` × `depth` px centred at `centre`, its ridge along the
// length, turned by `degrees`. The slopes facing the sun are lighter.
void DrawRoof(QPainter& painter, QPointF centre, double length, double depth, double degrees, QColor tile,
              RoofShape shape, double height = 3.0);

enum class TreeKind { Broadleaf, Pine, Cherry, Cedar, Shrub };

void DrawTree(QPainter& painter, QPointF centre, double radius, TreeKind kind, Dice& dice);

// A small boat pointing along `degrees`, with a wake behind it if moving.
void DrawBoat(QPainter& painter, QPointF centre, double length, double degrees, QColor hull, bool moving);

// A torii seen from above: the vermilion lintel along `degrees` and the
// long shadow of its posts.
void DrawTorii(QPainter& painter, QPointF centre, double width, double degrees);

// A five-storeyed pagoda seen from above.
void DrawPagoda(QPainter& painter, QPointF centre, double size);

// A channel-marker post standing in the water.
void DrawChannelMarker(QPainter& painter, QPointF base);

}  // namespace yuunagi::art
