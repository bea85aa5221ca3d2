#include "ColourQuantiser.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace yuunagi::art {

namespace {

// Colours are counted at 6 bits per channel; the mean of each cell keeps the
// full 8-bit precision for the palette.
struct Cell {
  std::array<int, 3> key;  // 6-bit channel values, used to split boxes
  std::array<double, 3> sum;
  double count = 0;
};

struct Box {
  std::vector<int> cells;  // indices into the cell list
  double error = 0;        // summed squared distance from the box mean
  int axis = 0;            // channel with the widest spread
};

std::array<double, 3> MeanOf(const std::vector<Cell>& all, const std::vector<int>& cells) {
  std::array<double, 3> sum{0, 0, 0};
  double count = 0;
  for (int i : cells) {
    for (int c = 0; c < 3; ++c) sum[c] += all[i].sum[c];
    count += all[i].count;
  }
  for (double& s : sum) s /= std::max(count, 1.0);
  return sum;
}

void Measure(const std::vector<Cell>& all, Box& box) {
  const auto mean = MeanOf(all, box.cells);
  std::array<double, 3> spread{0, 0, 0};
  for (int i : box.cells) {
    for (int c = 0; c < 3; ++c) {
      const double d = all[i].sum[c] / all[i].count - mean[c];
      spread[c] += d * d * all[i].count;
    }
  }
  box.error = spread[0] + spread[1] + spread[2];
  box.axis = static_cast<int>(std::max_element(spread.begin(), spread.end()) - spread.begin());
}

// Splits a box at the weighted median of its widest channel.
std::pair<Box, Box> Split(const std::vector<Cell>& all, Box box) {
  const int axis = box.axis;
  std::sort(box.cells.begin(), box.cells.end(), [&](int a, int b) {
    if (all[a].key[axis] != all[b].key[axis]) return all[a].key[axis] < all[b].key[axis];
    return a < b;
  });
  double total = 0;
  for (int i : box.cells) total += all[i].count;
  double running = 0;
  std::size_t cut = 1;
  for (; cut < box.cells.size(); ++cut) {
    running += all[box.cells[cut - 1]].count;
    if (running >= total / 2) break;
  }
  cut = std::clamp<std::size_t>(cut, 1, box.cells.size() - 1);
  Box low, high;
  low.cells.assign(box.cells.begin(), box.cells.begin() + static_cast<std::ptrdiff_t>(cut));
  high.cells.assign(box.cells.begin() + static_cast<std::ptrdiff_t>(cut), box.cells.end());
  Measure(all, low);
  Measure(all, high);
  return {low, high};
}

std::vector<QRgb> BuildPalette(const QImage& image, int colours) {
  std::unordered_map<int, int> cellOf;
  std::vector<Cell> cells;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
      const int key = (r >> 2) << 12 | (g >> 2) << 6 | (b >> 2);
      auto [it, fresh] = cellOf.try_emplace(key, static_cast<int>(cells.size()));
      if (fresh) cells.push_back(Cell{{r >> 2, g >> 2, b >> 2}, {0, 0, 0}, 0});
      Cell& cell = cells[static_cast<std::size_t>(it->second)];
      cell.sum[0] += r;
      cell.sum[1] += g;
      cell.sum[2] += b;
      cell.count += 1;
    }
  }

  std::vector<Box> boxes(1);
  for (int i = 0; i < static_cast<int>(cells.size()); ++i) boxes[0].cells.push_back(i);
  Measure(cells, boxes[0]);
  while (static_cast<int>(boxes.size()) < colours) {
    auto worst = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
      const bool aSplittable = a.cells.size() > 1, bSplittable = b.cells.size() > 1;
      if (aSplittable != bSplittable) return !aSplittable;
      return a.error < b.error;
    });
    if (worst->cells.size() < 2) break;  // fewer colours than palette entries
    auto [low, high] = Split(cells, std::move(*worst));
    *worst = std::move(low);
    boxes.push_back(std::move(high));
  }

  std::vector<QRgb> palette;
  for (const Box& box : boxes) {
    const auto mean = MeanOf(cells, box.cells);
    palette.push_back(qRgb(static_cast<int>(mean[0] + 0.5), static_cast<int>(mean[1] + 0.5),
                           static_cast<int>(mean[2] + 0.5)));
  }
  return palette;
}

class NearestColour {
 public:
  explicit NearestColour(const std::vector<QRgb>& palette) : palette_(palette) {}

  int Find(int r, int g, int b) {
    const int key = r << 16 | g << 8 | b;
    if (auto it = known_.find(key); it != known_.end()) return it->second;
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < static_cast<int>(palette_.size()); ++i) {
      const long dr = r - qRed(palette_[i]), dg = g - qGreen(palette_[i]), db = b - qBlue(palette_[i]);
      // Green weighs most for the eye, blue least.
      const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
      if (bestDistance < 0 || distance < bestDistance) {
        bestDistance = distance;
        best = i;
      }
    }
    known_.emplace(key, best);
    return best;
  }

 private:
  const std::vector<QRgb>& palette_;
  std::unordered_map<int, int> known_;
};

}  // namespace

QImage QuantiseMedianCut(const QImage& source, int colours, double dither) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  const std::vector<QRgb> palette = BuildPalette(image, colours);
  NearestColour nearest(palette);

  QImage indexed(image.size(), QImage::Format_Indexed8);
  indexed.setColorTable(QList<QRgb>(palette.begin(), palette.end()));

  const int w = image.width();
  // Floyd-Steinberg error rows, with one spare column on each side.
  std::vector<std::array<double, 3>> current(static_cast<std::size_t>(w + 2)), next(current.size());
  for (int y = 0; y < image.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uchar* out = indexed.scanLine(y);
    std::fill(next.begin(), next.end(), std::array<double, 3>{0, 0, 0});
    const bool leftToRight = y % 2 == 0;  // serpentine, so errors do not drift one way
    for (int step = 0; step < w; ++step) {
      const int x = leftToRight ? step : w - 1 - step;
      const int dir = leftToRight ? 1 : -1;
      const auto at = [&](int offset) { return static_cast<std::size_t>(x + 1 + offset); };
      const double want[3] = {qRed(in[x]) + current[at(0)][0], qGreen(in[x]) + current[at(0)][1],
                              qBlue(in[x]) + current[at(0)][2]};
      int rgb[3];
      for (int c = 0; c < 3; ++c) rgb[c] = std::clamp(static_cast<int>(want[c] + 0.5), 0, 255);
      const int index = nearest.Find(rgb[0], rgb[1], rgb[2]);
      out[x] = static_cast<uchar>(index);
      if (dither <= 0) continue;
      const QRgb got = palette[static_cast<std::size_t>(index)];
      const int gotRgb[3] = {qRed(got), qGreen(got), qBlue(got)};
      for (int c = 0; c < 3; ++c) {
        const double e = (rgb[c] - gotRgb[c]) * dither;
        current[at(dir)][c] += e * 7 / 16;
        next[at(-dir)][c] += e * 3 / 16;
        next[at(0)][c] += e * 5 / 16;
        next[at(dir)][c] += e * 1 / 16;
      }
    }
    std::swap(current, next);
  }
  return indexed;
}

}  // namespace yuunagi::art
