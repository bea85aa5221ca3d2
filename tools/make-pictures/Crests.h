// The six faction crests, drawn like family crests (家紋): one filled path per
// faction inside a ring, on a unit circle centred at the origin.
#pragma once

#include <QColor>
#include <QPainterPath>

namespace yuunagi::art {

constexpr int kFactionCount = 6;

// The colour of each faction: vermilion sunrise (ヒノデ), sky blue (ソラノ),
// cherry pink (ハナミ), evergreen (トコナ), dropwort gold (セリ) and the
// purple of the evening channel (ミオツ).
QColor FactionColour(int faction);

// The crest of `faction`, fitting the circle of radius 1 around (0, 0).
QPainterPath CrestPath(int faction);

}  // namespace yuunagi::art
