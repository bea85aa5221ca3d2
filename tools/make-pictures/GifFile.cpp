#include "GifFile.h"

#include <gif_lib.h>

#include <QByteArray>
#include <QSaveFile>
#include <memory>
#include <vector>

#include "ColourQuantiser.h"

namespace yuunagi::art {

namespace {

int AppendBytes(GifFileType* gif, const GifByteType* bytes, int length) {
  static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
  return length;
}

QString GifError(int code) { return QString::fromUtf8(GifErrorString(code)); }

// Encodes an indexed picture into GIF bytes in memory.
QString Encode(const QImage& indexed, QByteArray& out) {
  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendBytes, &error);
  if (!gif) return GifError(error);
  auto close = [&]() {
    int closeError = 0;
    const bool ok = EGifCloseFile(gif, &closeError) == GIF_OK;
    gif = nullptr;
    return ok ? QString() : GifError(closeError);
  };

  // GIF palettes hold a power of two entries; unused ones stay black.
  std::vector<GifColorType> colours(256, GifColorType{0, 0, 0});
  const QList<QRgb> table = indexed.colorTable();
  for (int i = 0; i < table.size() && i < 256; ++i) {
    colours[static_cast<std::size_t>(i)] =
        GifColorType{static_cast<GifByteType>(qRed(table[i])), static_cast<GifByteType>(qGreen(table[i])),
                     static_cast<GifByteType>(qBlue(table[i]))};
  }
  std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(GifMakeMapObject(256, colours.data()),
                                                                 GifFreeMapObject);
  if (!map) {
    close();
    return QStringLiteral("out of memory for the GIF palette");
  }

  const int w = indexed.width(), h = indexed.height();
  if (EGifPutScreenDesc(gif, w, h, 8, 0, map.get()) != GIF_OK ||
      EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) != GIF_OK) {
    const QString message = GifError(gif->Error);
    close();
    return message;
  }
  std::vector<GifPixelType> line(static_cast<std::size_t>(w));
  for (int y = 0; y < h; ++y) {
    const uchar* row = indexed.constScanLine(y);
    std::copy(row, row + w, line.begin());
    if (EGifPutLine(gif, line.data(), w) != GIF_OK) {
      const QString message = GifError(gif->Error);
      close();
      return message;
    }
  }
  return close();
}

// Half-strength error diffusion: enough to keep the evening gradients from
// banding, little enough that the calm sea does not turn to grain.
constexpr double kDither = 0.5;

}  // namespace

QString WriteGif(const QImage& image, const QString& path) {
  const QImage indexed = QuantiseMedianCut(image, 256, kDither);
  QByteArray bytes;
  if (QString message = Encode(indexed, bytes); !message.isEmpty()) {
    return QStringLiteral("%1: %2").arg(path, message);
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    return QStringLiteral("%1: %2").arg(path, file.errorString());
  }
  return {};
}

}  // namespace yuunagi::art
