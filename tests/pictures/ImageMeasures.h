// Measures of a picture used by the tests: how light an area is, how busy,
// which hue dominates it.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <vector>

namespace yuunagi::test {

inline double Luminance(QRgb pixel) {
  return 0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel);
}

struct Lightness {
  double mean = 0;
  double darkest = 0;  // the 2nd percentile, so a stray fleck does not count
};

inline Lightness LightnessOf(const QImage& image, QRect area) {
  std::vector<double> values;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) values.push_back(Luminance(image.pixel(x, y)));
  }
  Lightness result;
  for (double v : values) result.mean += v;
  result.mean /= static_cast<double>(values.size());
  std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 50), values.end());
  result.darkest = values[values.size() / 50];
  return result;
}

// Mean difference in luminance between neighbouring pixels: near 0 for a
// calm area, large where there is much small detail.
inline double Busyness(const QImage& image, QRect area) {
  double sum = 0;
  int count = 0;
  for (int y = area.top(); y < area.bottom(); ++y) {
    for (int x = area.left(); x < area.right(); ++x) {
      const double here = Luminance(image.pixel(x, y));
      sum += std::abs(here - Luminance(image.pixel(x + 1, y))) +
             std::abs(here - Luminance(image.pixel(x, y + 1)));
      count += 2;
    }
  }
  return sum / count;
}

inline int DistinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) & 0xFFFFFF);
  }
  return static_cast<int>(colours.size());
}

// The hue (0..359) held by most of the clearly coloured pixels.
inline int DominantHue(const QImage& image) {
  std::vector<double> bins(36, 0.0);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor colour(image.pixel(x, y));
      if (colour.hsvSaturationF() < 0.3 || colour.valueF() < 0.25) continue;
      bins[static_cast<std::size_t>(colour.hsvHue() / 10)] += colour.hsvSaturationF();
    }
  }
  return static_cast<int>(std::max_element(bins.begin(), bins.end()) - bins.begin()) * 10 + 5;
}

inline int HueDistance(int a, int b) {
  const int d = std::abs(a - b) % 360;
  return std::min(d, 360 - d);
}

}  // namespace yuunagi::test
