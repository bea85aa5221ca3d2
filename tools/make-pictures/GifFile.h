// Writes a picture as a GIF file through giflib (Qt reads GIF but cannot
// write it).
#pragma once

#include <QImage>
#include <QString>

namespace yuunagi::art {

// Quantises `image` to 256 colours and writes it to `path`. Returns an empty
// string on success, otherwise a message saying what went wrong.
QString WriteGif(const QImage& image, const QString& path);

}  // namespace yuunagi::art
