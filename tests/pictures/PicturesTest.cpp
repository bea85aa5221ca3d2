// The pictures the game ships, as files on disk: each loads with Qt at its
// format and twice its size in the window, is light and calm where text goes,
// and is what make-pictures draws, the same on every run.
#include <gtest/gtest.h>

#include <QColor>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <numeric>
#include <set>

namespace yuunagi {
namespace {

const QString kAssets = QStringLiteral(YUUNAGI_SOURCE_DIR "/assets/");

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage Read(const QString& path) { return QImage(path).convertToFormat(QImage::Format_ARGB32); }

// The town map, the panel texture and the six faction emblems, each of its
// format (a 24-bit BMP or a GIF) and of many colours, at twice its size in
// the window; the build copies them beside the program unchanged.
TEST(Pictures, LoadAtTheirFormatAndDoubleSize) {
  std::vector<std::tuple<QString, QByteArray, QSize, std::size_t>> pictures = {
      {"ユウナギ町.gif", "gif", {1032, 876}, 200}, {"Etc.bmp", "bmp", {258, 402}, 50}};
  for (int i = 0; i < 6; ++i) pictures.push_back({QStringLiteral("No%1.bmp").arg(i), "bmp", {226, 322}, 100});
  for (const auto& [file, format, size, colours] : pictures) {
    SCOPED_TRACE(file.toStdString());
    const QByteArray bytes = Contents(kAssets + "Picture/" + file);
    const QImage image = Read(kAssets + "Picture/" + file);
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    EXPECT_EQ(QImageReader(kAssets + "Picture/" + file).format(), format);
    ASSERT_EQ(image.size(), size);
    EXPECT_GT(std::set<QRgb>(pixels, pixels + size.width() * size.height()).size(), colours);
    EXPECT_TRUE(format != "bmp" || bytes.at(28) == 24) << "bits a pixel: " << int(bytes.at(28));
    EXPECT_EQ(Contents(YUUNAGI_BIN_DIR "/Picture/" + file), bytes) << "the copy beside the program";
  }
}

// Where black text goes (the map's title band, the panel texture, a button's
// face, the emblems' name and numbers) is light even at its darkest (2nd
// percentile), and calm, as are the map's command column and message strip:
// (picture, area in the window, least mean and darkest, most luminance step).
TEST(Pictures, AreLightAndCalmWhereTextGoes) {
  std::vector<std::tuple<QString, QRect, double, double, double>> zones = {
      {"ユウナギ町.gif", {43, 80, 391, 64}, 200, 0, 2.5},
      {"ユウナギ町.gif", {376, 0, 140, 288}, 0, 0, 2.5},
      {"ユウナギ町.gif", {16, 352, 489, 60}, 0, 0, 2.5},
      {"Etc.bmp", {0, 0, 129, 201}, 215, 190, 3},
      {"Etc.bmp", {0, 0, 97, 25}, 215, 190, 3}};
  for (int i = 0; i < 6; ++i) {
    for (QRect area : {QRect(40, 8, 60, 15), QRect(16, 32, 84, 113)})
      zones.emplace_back(QStringLiteral("No%1.bmp").arg(i), area, 185, 150, 3);
  }
  for (const auto& [file, area, minMean, minDarkest, maxBusy] : zones) {
    const QImage image = Read(kAssets + "Picture/" + file);
    auto luma = [&](int x, int y) { return qGray(image.pixel(2 * area.x() + x, 2 * area.y() + y)); };
    std::vector<double> values;
    double busy = 0;
    for (int y = 0; y + 1 < 2 * area.height(); ++y) {
      for (int x = 0; x + 1 < 2 * area.width(); ++x) {
        values.push_back(luma(x, y));
        busy += std::abs(luma(x, y) - luma(x + 1, y)) + std::abs(luma(x, y) - luma(x, y + 1));
      }
    }
    std::nth_element(values.begin(), values.begin() + long(values.size() / 50), values.end());
    SCOPED_TRACE(testing::Message() << file.toStdString() << " at " << area.x() << "," << area.y());
    EXPECT_GT(std::accumulate(values.begin(), values.end(), 0.0) / double(values.size()), minMean);
    EXPECT_GT(values[values.size() / 50], minDarkest);
    EXPECT_LT(busy / 2 / double(values.size()), maxBusy);
  }
}

// Each faction's emblem has a clear colour of its own: the hue (in 10° bins)
// held by most of its strongly coloured pixels is 25° or more from each other's.
TEST(Pictures, EmblemsHaveSixClearlyDifferentHues) {
  std::vector<int> hues;
  for (int i = 0; i < 6; ++i) {
    const QImage emblem = Read(kAssets + QStringLiteral("Picture/No%1.bmp").arg(i));
    const auto* pixels = reinterpret_cast<const QRgb*>(emblem.constBits());
    std::vector<double> bins(36);
    for (const QRgb* p = pixels; p < pixels + emblem.width() * emblem.height(); ++p) {
      const QColor c(*p);
      if (c.hsvSaturationF() >= 0.3 && c.valueF() >= 0.25)
        bins[std::size_t(c.hsvHue() / 10)] += c.hsvSaturationF();
    }
    hues.push_back(int(std::max_element(bins.begin(), bins.end()) - bins.begin()) * 10);
    for (int j = 0; j < i; ++j)
      EXPECT_GE(std::min(std::abs(hues[i] - hues[j]), 360 - std::abs(hues[i] - hues[j])), 25)
          << i << " and " << j;
  }
}

// Two runs of make-pictures draw the same bytes, and the committed pictures
// are what it draws today, but for a rasteriser's rounding.
TEST(Pictures, AreWhatMakePicturesDrawsOnEveryRun) {
  QTemporaryDir runs[2];
  QProcess drawing[2];
  for (int i : {0, 1})
    drawing[i].start(YUUNAGI_MAKE_PICTURES,
                     {"--icons", runs[i].filePath("icons"), runs[i].filePath("Picture")});
  for (QProcess& run : drawing)
    ASSERT_TRUE(run.waitForFinished(60000) && run.exitCode() == 0)
        << run.readAllStandardError().toStdString();
  int files = 0;
  for (QDirIterator it(runs[0].path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++files) {
    const QString file = QDir(runs[0].path()).relativeFilePath(it.next());
    const QImage drawn = Read(runs[0].filePath(file)), kept = Read(kAssets + file);
    EXPECT_EQ(Contents(runs[0].filePath(file)), Contents(runs[1].filePath(file))) << file.toStdString();
    ASSERT_EQ(drawn.size(), kept.size()) << file.toStdString();
    double difference = 0;
    for (qsizetype i = 0; i < drawn.sizeInBytes(); ++i)
      difference += std::abs(drawn.constBits()[i] - kept.constBits()[i]);
    EXPECT_LT(difference / double(drawn.sizeInBytes()), 1.5)
        << file.toStdString() << ": build the `pictures` target";
  }
  EXPECT_EQ(files, 8 + 7);
}

}  // namespace
}  // namespace yuunagi
