// No0.bmp .. No5.bmp: the picture of each faction, stretched over the
// 113 × 161 px status panels of the districts it holds.
#pragma once

#include <QImage>

namespace yuunagi::art {

// Twice the size of a status panel.
constexpr int kEmblemWidth = 226;
constexpr int kEmblemHeight = 322;

// Pale paper in the faction's colour with a coloured frame, the crest small
// beside the name and large as a faint watermark behind the numbers.
QImage DrawEmblem(int faction);

}  // namespace yuunagi::art
