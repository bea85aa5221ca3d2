// ユウナギ町.gif: the town at evening calm seen from above, stretched over the
// whole 516 × 438 px window behind every panel.
#pragma once

#include <QImage>

namespace yuunagi::art {

// Twice the window's size.
constexpr int kMapWidth = 1032;
constexpr int kMapHeight = 876;

// Six districts in two rows of three where the status panels stand, the sea
// along the right and the bottom where the command and message panels go,
// and a band of golden haze where the title is written.
QImage DrawTownMap();

}  // namespace yuunagi::art
