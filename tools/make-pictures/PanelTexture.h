// Etc.bmp: the washi-paper texture behind every panel and button, and the
// paper that the faction emblems are printed on.
#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>

namespace yuunagi::art {

// Size of Etc.bmp: twice the 129 × 201 px panels it is stretched over. Its
// top-left 194 × 50 px is what a 97 × 25 px button shows at double size.
constexpr int kTextureWidth = 258;
constexpr int kTextureHeight = 402;

// Handmade paper of the given base colour: soft mottling, long pale fibres
// and a few flecks of bark, all faint enough for black text.
QImage WashiPaper(int width, int height, QColor base, std::uint32_t seed);

// The panel and button texture.
QImage DrawPanelTexture();

}  // namespace yuunagi::art
