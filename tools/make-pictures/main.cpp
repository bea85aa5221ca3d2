// make-pictures: draws the game's pictures and writes them where the game
// reads them.
//
//   make-pictures [--icons DIR] [--preview DIR] PICTURE_DIR
//
// PICTURE_DIR receives ユウナギ町.gif, Etc.bmp and No0.bmp .. No5.bmp; --icons
// writes the application icon in every size; --preview writes two proofs of
// the pictures in place on the title and game screens.
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>
#include <QTextStream>

#include "AppIcon.h"
#include "Crests.h"
#include "Emblems.h"
#include "GifFile.h"
#include "PanelTexture.h"
#include "Preview.h"
#include "TownMap.h"

namespace {

using namespace yuunagi::art;

// Writes through a temporary file, so a failed run never leaves half a picture.
QString WriteImage(const QImage& image, const QString& path, const char* format) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return QStringLiteral("%1: %2").arg(path, file.errorString());
  QImageWriter writer(&file, format);
  if (!writer.write(image)) return QStringLiteral("%1: %2").arg(path, writer.errorString());
  if (!file.commit()) return QStringLiteral("%1: %2").arg(path, file.errorString());
  return {};
}

bool MakeFolder(const QString& path, QString& error) {
  if (QDir().mkpath(path)) return true;
  error = QStringLiteral("%1: cannot create the folder").arg(path);
  return false;
}

// The pictures the game reads: the map as a GIF, the panel texture and the
// six emblems as BMP files (in 24-bit colour: Qt writes RGB32 images so).
QString WriteGamePictures(const QString& folder, PictureSet& pictures) {
  QString error;
  if (!MakeFolder(folder, error)) return error;
  const QDir out(folder);
  pictures.map = DrawTownMap();
  if (error = WriteGif(pictures.map, out.filePath(QStringLiteral("ユウナギ町.gif"))); !error.isEmpty())
    return error;
  // The game sees the map as its 256-colour GIF; the proofs should too.
  pictures.map = QImage(out.filePath(QStringLiteral("ユウナギ町.gif")), "GIF");

  pictures.texture = DrawPanelTexture();
  if (error = WriteImage(pictures.texture, out.filePath(QStringLiteral("Etc.bmp")), "bmp");
      !error.isEmpty()) {
    return error;
  }
  for (int faction = 0; faction < kFactionCount; ++faction) {
    QImage& emblem = pictures.emblems[static_cast<std::size_t>(faction)];
    emblem = DrawEmblem(faction);
    const QString name = QStringLiteral("No%1.bmp").arg(faction);
    if (error = WriteImage(emblem, out.filePath(name), "bmp"); !error.isEmpty()) return error;
  }
  return {};
}

// The application icon in every size, in the hicolor layout; the largest
// once more on its own.
QString WriteIcons(const QString& iconFolder) {
  QString error;
  const QDir icons(iconFolder);
  if (!MakeFolder(icons.path(), error)) return error;
  for (int size : kIconSizes) {
    const QImage icon = DrawAppIcon(size);
    const QString folder = icons.filePath(QStringLiteral("hicolor/%1x%1/apps").arg(size));
    if (!MakeFolder(folder, error)) return error;
    if (error = WriteImage(icon, QDir(folder).filePath(QStringLiteral("yuunagi.png")), "png");
        !error.isEmpty()) {
      return error;
    }
    if (size == 256) {
      if (error = WriteImage(icon, icons.filePath(QStringLiteral("yuunagi.png")), "png"); !error.isEmpty()) {
        return error;
      }
    }
  }
  return {};
}

// Proofs of the pictures in place on the title and game screens.
QString WritePreviews(const QString& previewFolder, const PictureSet& pictures) {
  QString error;
  const QDir proofs(previewFolder);
  if (!MakeFolder(proofs.path(), error)) return error;
  if (error =
          WriteImage(DrawTitlePreview(pictures), proofs.filePath(QStringLiteral("preview-title.png")), "png");
      !error.isEmpty()) {
    return error;
  }
  return WriteImage(DrawGamePreview(pictures), proofs.filePath(QStringLiteral("preview-game.png")), "png");
}

QString MakePictures(const QString& folder, const QString& iconFolder, const QString& previewFolder) {
  PictureSet pictures;
  if (QString error = WriteGamePictures(folder, pictures); !error.isEmpty()) return error;
  if (!iconFolder.isEmpty()) {
    if (QString error = WriteIcons(iconFolder); !error.isEmpty()) return error;
  }
  if (!previewFolder.isEmpty()) return WritePreviews(previewFolder, pictures);
  return {};
}

}  // namespace

int main(int argc, char* argv[]) {
  // Drawing needs no screen: run headless unless told otherwise.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("make-pictures"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Draws the pictures of ユウナギ町争奪戦."));
  parser.addHelpOption();
  const QCommandLineOption icons(QStringLiteral("icons"),
                                 QStringLiteral("Also write the application icons here."),
                                 QStringLiteral("dir"));
  const QCommandLineOption preview(QStringLiteral("preview"),
                                   QStringLiteral("Also write proofs of the title and game screens here."),
                                   QStringLiteral("dir"));
  parser.addOption(icons);
  parser.addOption(preview);
  parser.addPositionalArgument(QStringLiteral("picture-dir"),
                               QStringLiteral("Where the pictures are written."));
  parser.process(app);

  QTextStream err(stderr);
  const QStringList folders = parser.positionalArguments();
  if (folders.size() != 1) {
    err << "make-pictures: give exactly one folder for the pictures (see --help)\n";
    return 2;
  }
  const QString error = MakePictures(folders[0], parser.value(icons), parser.value(preview));
  if (!error.isEmpty()) {
    err << "make-pictures: " << error << "\n";
    return 1;
  }
  return 0;
}
