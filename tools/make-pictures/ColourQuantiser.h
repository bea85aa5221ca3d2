// Reduces a true-colour picture to at most 256 colours for the GIF file:
// median cut over a colour histogram, then error diffusion so evening
// gradients in the sea and sky do not band.
#pragma once

#include <QImage>

namespace yuunagi::art {

// An 8-bit indexed copy of `image` with a palette of at most `colours`
// entries built from the picture itself. `dither` is the share of each
// pixel's colour error passed on to its neighbours: 0 for none, 1 for full
// Floyd-Steinberg diffusion.
QImage QuantiseMedianCut(const QImage& image, int colours, double dither);

}  // namespace yuunagi::art
