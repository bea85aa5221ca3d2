// The drawing program itself: same pictures on every run, the committed ones
// up to date with the drawing code, and clear refusals.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include "ImageMeasures.h"

namespace yuunagi::test {
namespace {

struct ToolRun {
  int exitCode = -1;
  QString errors;
};

ToolRun MakePictures(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(YUUNAGI_MAKE_PICTURES), arguments);
  ToolRun run;
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
    process.kill();
    process.waitForFinished();
    run.errors = QStringLiteral("make-pictures did not finish normally");
    return run;
  }
  run.exitCode = process.exitCode();
  run.errors = QString::fromLocal8Bit(process.readAllStandardError());
  return run;
}

QStringList FilesBelow(const QString& folder) {
  QStringList files;
  QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) files << QDir(folder).relativeFilePath(it.next());
  files.sort();
  return files;
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Mean difference per channel (0..255) between two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * a.width() * a.height());
}

TEST(MakePictures, DrawsTheSameFilesOnEveryRun) {
  QTemporaryDir first, second;
  ASSERT_TRUE(first.isValid() && second.isValid());
  for (const QTemporaryDir* dir : {&first, &second}) {
    const ToolRun run = MakePictures({QStringLiteral("--icons"), dir->filePath(QStringLiteral("icons")),
                                      dir->filePath(QStringLiteral("Picture"))});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  }
  const QStringList files = FilesBelow(first.path());
  EXPECT_EQ(files.size(), 8 + 7) << files.join(QLatin1Char(' ')).toStdString();  // 8 pictures, 7 icon files
  EXPECT_EQ(files, FilesBelow(second.path()));
  for (const QString& file : files) {
    EXPECT_EQ(Contents(first.filePath(file)), Contents(second.filePath(file))) << file.toStdString();
  }
}

TEST(MakePictures, CommittedPicturesMatchTheDrawingCode) {
  QTemporaryDir fresh;
  ASSERT_TRUE(fresh.isValid());
  const ToolRun run = MakePictures({fresh.path()});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  const QDir committed(QStringLiteral(YUUNAGI_ASSET_PICTURES));
  for (const QString& name : QDir(fresh.path()).entryList(QDir::Files)) {
    SCOPED_TRACE(name.toStdString());
    const QImage drawn = QImage(QDir(fresh.path()).filePath(name)).convertToFormat(QImage::Format_RGB32);
    const QImage kept = QImage(committed.filePath(name)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(kept.isNull()) << "missing from assets/Picture: run the `pictures` build target";
    ASSERT_EQ(drawn.size(), kept.size());
    // A little slack for other versions of the rasteriser; a changed
    // drawing without re-made pictures differs far more.
    EXPECT_LT(MeanDifference(drawn, kept), 1.5) << "re-make the pictures with the `pictures` build target";
  }
}

TEST(MakePictures, RefusesClearlyWhenItCannotWrite) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const QString target = dir.filePath(QStringLiteral("not-a-folder/Picture"));
  const ToolRun run = MakePictures({target});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.errors.contains(target)) << run.errors.toStdString();

  const ToolRun bare = MakePictures({});
  EXPECT_EQ(bare.exitCode, 2);
  EXPECT_TRUE(bare.errors.contains(QStringLiteral("folder"))) << bare.errors.toStdString();
}

}  // namespace
}  // namespace yuunagi::test
