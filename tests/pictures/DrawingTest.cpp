// Parts of the drawing program on their own: the GIF writer with its colour
// reduction, and the six faction crests.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include "ColourQuantiser.h"
#include "Crests.h"
#include "GifFile.h"
#include "ImageMeasures.h"

namespace yuunagi::test {
namespace {

QImage ReadGif(const QString& path) {
  QImageReader reader(path, "gif");
  return reader.read().convertToFormat(QImage::Format_RGB32);
}

double MeanChannelError(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * a.width() * a.height());
}

TEST(GifFile, KeepsAFewColoursExactly) {
  QImage image(64, 48, QImage::Format_RGB32);
  const QRgb colours[] = {qRgb(250, 240, 220), qRgb(40, 60, 120), qRgb(200, 70, 40), qRgb(90, 160, 80),
                          qRgb(0, 0, 0)};
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, colours[(x / 13 + y / 10) % 5]);
  }
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("few.gif"));
  ASSERT_EQ(art::WriteGif(image, path), QString());
  const QImage back = ReadGif(path);
  ASSERT_EQ(back.size(), image.size());
  EXPECT_EQ(back, image);
}

TEST(GifFile, ReducesAFullColourGradientTo256CloseColours) {
  QImage image(256, 96, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      image.setPixelColor(x, y, QColor::fromHsv(x * 359 / 255, 60 + y, 255 - y));
    }
  }
  ASSERT_GT(DistinctColours(image), 256);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("gradient.gif"));
  ASSERT_EQ(art::WriteGif(image, path), QString());
  const QImage back = ReadGif(path);
  ASSERT_EQ(back.size(), image.size());
  EXPECT_LE(DistinctColours(back), 256);
  // Closer than Qt's own reduction to 256 colours, and close in absolute terms.
  const QImage qtReduced = image.convertToFormat(QImage::Format_Indexed8).convertToFormat(QImage::Format_RGB32);
  EXPECT_LT(MeanChannelError(image, back), MeanChannelError(image, qtReduced));
  EXPECT_LT(MeanChannelError(image, back), 6.0);
}

TEST(GifFile, SaysWhichFileItCouldNotWrite) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("missing-folder/map.gif"));
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::white);
  const QString error = art::WriteGif(image, path);
  EXPECT_TRUE(error.contains(path)) << error.toStdString();
  EXPECT_FALSE(QFile::exists(path));
}

TEST(ColourQuantiser, UsesNoMoreColoursThanAskedAndTheSameOnEveryCall) {
  QImage image(120, 80, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 2, y * 3, (x + y) % 256));
  }
  for (double dither : {0.0, 0.5, 1.0}) {
    const QImage once = art::QuantiseMedianCut(image, 16, dither);
    EXPECT_EQ(once.format(), QImage::Format_Indexed8);
    EXPECT_LE(once.colorCount(), 16);
    EXPECT_EQ(once, art::QuantiseMedianCut(image, 16, dither));
  }
}

// A crest filled in black on white, 200 px across.
QImage RenderCrest(int faction) {
  QImage image(200, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.translate(100, 100);
  painter.scale(99, 99);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawPath(art::CrestPath(faction));
  return image;
}

double InkShare(const QImage& image) {
  int ink = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) ink += qRed(image.pixel(x, y)) < 128;
  }
  return static_cast<double>(ink) / (image.width() * image.height());
}

TEST(Crests, SixDistinctCrestsInsideTheirCircle) {
  std::vector<QImage> crests;
  for (int faction = 0; faction < art::kFactionCount; ++faction) {
    SCOPED_TRACE(faction);
    const QRectF bounds = art::CrestPath(faction).boundingRect();
    EXPECT_TRUE(QRectF(-1.001, -1.001, 2.002, 2.002).contains(bounds));
    crests.push_back(RenderCrest(faction));
    // A ring with a motif inside: neither a bare outline nor a filled disc.
    EXPECT_GT(InkShare(crests.back()), 0.2);
    EXPECT_LT(InkShare(crests.back()), 0.6);
  }
  for (std::size_t a = 0; a < crests.size(); ++a) {
    for (std::size_t b = a + 1; b < crests.size(); ++b) {
      QImage difference = crests[a];
      for (int y = 0; y < difference.height(); ++y) {
        for (int x = 0; x < difference.width(); ++x) {
          difference.setPixel(x, y, crests[a].pixel(x, y) == crests[b].pixel(x, y) ? qRgb(255, 255, 255) : 0);
        }
      }
      EXPECT_GT(InkShare(difference), 0.05) << "crests " << a << " and " << b;
    }
  }
}

TEST(Crests, FactionColoursAreSixDifferentHues) {
  for (int a = 0; a < art::kFactionCount; ++a) {
    for (int b = a + 1; b < art::kFactionCount; ++b) {
      EXPECT_GE(HueDistance(art::FactionColour(a).hsvHue(), art::FactionColour(b).hsvHue()), 25) << a << ", " << b;
    }
  }
}

}  // namespace
}  // namespace yuunagi::test
