// The committed pictures (assets/) and the copies the build puts beside the
// program (bin/Picture): right format, double size, and fit for their place
// in the window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QString>
#include <string_view>

#include "ImageMeasures.h"

namespace yuunagi::test {
namespace {

const QString kMapName = QStringLiteral("ユウナギ町.gif");

QStringList PictureNames() {
  QStringList names{kMapName, QStringLiteral("Etc.bmp")};
  for (int i = 0; i < 6; ++i) names << QStringLiteral("No%1.bmp").arg(i);
  return names;
}

// Reads a picture with the decoder of the format its name promises, as the
// game does, and checks the content really is that format.
QImage ReadAs(const QString& path, const char* format) {
  QImageReader byContent(path);
  EXPECT_EQ(byContent.format(), QByteArray(format)) << path.toStdString();
  QImageReader reader(path, format);
  QImage image = reader.read();
  EXPECT_FALSE(image.isNull()) << path.toStdString() << ": " << reader.errorString().toStdString();
  return image.convertToFormat(QImage::Format_RGB32);
}

// Bits per pixel from a BMP file's info header.
int BmpBitCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray header = file.read(30);
  if (header.size() < 30 || !header.startsWith("BM")) return -1;
  return static_cast<unsigned char>(header[28]) | static_cast<unsigned char>(header[29]) << 8;
}

// Window rectangles (in the window's 516 × 438 px) on the double-size picture.
QRect Doubled(int x, int y, int w, int h) { return QRect(2 * x, 2 * y, 2 * w, 2 * h); }

// "assets": the committed pictures; "bin": the copies beside the program.
class PictureFolder : public testing::TestWithParam<const char*> {
 protected:
  QString Path(const QString& name) const {
    const char* folder =
        std::string_view(GetParam()) == "assets" ? YUUNAGI_ASSET_PICTURES : YUUNAGI_BIN_PICTURES;
    return QDir(QString::fromUtf8(folder)).filePath(name);
  }
};

TEST_P(PictureFolder, HoldsEveryPictureTheGameLoads) {
  for (const QString& name : PictureNames()) EXPECT_TRUE(QFile::exists(Path(name))) << name.toStdString();
}

TEST_P(PictureFolder, TownMapIsAGifOfTheWindowAtDoubleSize) {
  const QImage map = ReadAs(Path(kMapName), "gif");
  ASSERT_EQ(map.size(), QSize(1032, 876));
  const int colours = DistinctColours(map);
  EXPECT_GT(colours, 200) << "a GIF may hold 256 colours; the map should use them";
  EXPECT_LE(colours, 256);
}

TEST_P(PictureFolder, TownMapKeepsThePanelAreasCalmAndTheTitleBandLight) {
  const QImage map = ReadAs(Path(kMapName), "gif");
  ASSERT_EQ(map.size(), QSize(1032, 876));
  const double districts = Busyness(map, Doubled(16, 16, 353, 329));
  const double commandColumn = Busyness(map, Doubled(376, 0, 140, 288));
  const double messageStrip = Busyness(map, Doubled(16, 352, 489, 60));
  EXPECT_LT(commandColumn, districts * 0.5);
  EXPECT_LT(messageStrip, districts * 0.5);

  // The title is written in black across this band.
  const Lightness title = LightnessOf(map, Doubled(43, 80, 391, 64));
  EXPECT_GT(title.mean, 200);
  EXPECT_LT(Busyness(map, Doubled(43, 80, 391, 64)), districts * 0.5);
}

TEST_P(PictureFolder, TextureIsA24BitBmpLightAndQuietEnoughForText) {
  EXPECT_EQ(BmpBitCount(Path(QStringLiteral("Etc.bmp"))), 24);
  const QImage texture = ReadAs(Path(QStringLiteral("Etc.bmp")), "bmp");
  ASSERT_EQ(texture.size(), QSize(258, 402));
  EXPECT_GT(DistinctColours(texture), 50) << "a texture, not a flat colour";
  for (const QRect area : {texture.rect(), QRect(0, 0, 194, 50)}) {  // whole panel; the button face
    const Lightness light = LightnessOf(texture, area);
    EXPECT_GT(light.mean, 215);
    EXPECT_GT(light.darkest, 190);
    EXPECT_LT(Busyness(texture, area), 6);
  }
}

TEST_P(PictureFolder, EmblemsAre24BitBmpsWithLightTextZones) {
  for (int faction = 0; faction < 6; ++faction) {
    SCOPED_TRACE(faction);
    const QString path = Path(QStringLiteral("No%1.bmp").arg(faction));
    EXPECT_EQ(BmpBitCount(path), 24);
    const QImage emblem = ReadAs(path, "bmp");
    ASSERT_EQ(emblem.size(), QSize(226, 322));
    EXPECT_GT(DistinctColours(emblem), 100);
    // The faction's name, then the five rows of labels and numbers.
    for (const QRect zone : {Doubled(40, 8, 60, 15), Doubled(16, 32, 84, 113)}) {
      const Lightness light = LightnessOf(emblem, zone);
      EXPECT_GT(light.mean, 185);
      EXPECT_GT(light.darkest, 150);
    }
  }
}

TEST_P(PictureFolder, EmblemsHaveSixClearlyDifferentColours) {
  std::vector<int> hues;
  for (int faction = 0; faction < 6; ++faction) {
    hues.push_back(DominantHue(ReadAs(Path(QStringLiteral("No%1.bmp").arg(faction)), "bmp")));
  }
  for (std::size_t a = 0; a < hues.size(); ++a) {
    for (std::size_t b = a + 1; b < hues.size(); ++b) {
      EXPECT_GE(HueDistance(hues[a], hues[b]), 25)
          << "No" << a << " (hue " << hues[a] << ") and No" << b << " (hue " << hues[b] << ")";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Committed, PictureFolder, testing::Values("assets"));
INSTANTIATE_TEST_SUITE_P(BesideTheProgram, PictureFolder, testing::Values("bin"));

TEST(PictureCopies, BesideTheProgramAreTheCommittedFiles) {
  for (const QString& name : PictureNames()) {
    QFile committed(QDir(QStringLiteral(YUUNAGI_ASSET_PICTURES)).filePath(name));
    QFile copied(QDir(QStringLiteral(YUUNAGI_BIN_PICTURES)).filePath(name));
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly)) << name.toStdString();
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly)) << name.toStdString();
    EXPECT_EQ(committed.readAll(), copied.readAll()) << name.toStdString();
  }
}

TEST(ApplicationIcon, ComesInEveryThemeSizeWithRoundedTransparentCorners) {
  const QDir icons(QStringLiteral(YUUNAGI_ASSET_ICONS));
  for (int size : {16, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    QImageReader reader(icons.filePath(QStringLiteral("hicolor/%1x%1/apps/yuunagi.png").arg(size)), "png");
    const QImage icon = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(size, size)) << reader.errorString().toStdString();
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(size - 1, size - 1)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    EXPECT_GT(DistinctColours(icon), size <= 16 ? 20 : 100);
  }
  QFile main(icons.filePath(QStringLiteral("yuunagi.png")));
  QFile largest(icons.filePath(QStringLiteral("hicolor/256x256/apps/yuunagi.png")));
  ASSERT_TRUE(main.open(QIODevice::ReadOnly));
  ASSERT_TRUE(largest.open(QIODevice::ReadOnly));
  EXPECT_EQ(main.readAll(), largest.readAll());
}

}  // namespace
}  // namespace yuunagi::test
