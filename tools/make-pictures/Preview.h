// Two proofs of the pictures in place, for checking legibility: the title
// screen and a game in progress, laid out as the window lays them out.
#pragma once

#include <QImage>
#include <array>

namespace yuunagi::art {

struct PictureSet {
  QImage map;
  QImage texture;
  std::array<QImage, 6> emblems;
};

// At twice the window's size, as on a screen scaled by two.
QImage DrawTitlePreview(const PictureSet& pictures);
QImage DrawGamePreview(const PictureSet& pictures);

}  // namespace yuunagi::art
