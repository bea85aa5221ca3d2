#include "media/Pictures.h"

#include <QFileInfo>
#include <QFontMetrics>

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace yuunagi {

namespace {

// The face of a graphical button: its picture at its natural size from the
// top-left corner (the button's own colour where the picture ends), a
// raised or pressed edge, and the caption in the middle.
void PaintGraphicFace(QWidget& button, const QPixmap& picture, const QString& caption, bool pressedIn,
                      bool focused) {
  QPainter painter(&button);
  const QRect area = button.rect();
  painter.fillRect(area, button.palette().button());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (!picture.isNull()) {
    // At its natural size from the top-left corner; a face larger than the
    // picture gets it enlarged just enough to cover it.
    const QSizeF natural = picture.deviceIndependentSize();
    const qreal grow = std::max({1.0, area.width() / natural.width(), area.height() / natural.height()});
    painter.drawPixmap(QRectF(QPointF(0, 0), natural * grow), picture, QRectF(picture.rect()));
  }
  if (pressedIn) painter.fillRect(area, QColor(0, 0, 0, 40));

  const QColor light(255, 255, 255, 200), shade(0, 0, 0, 110), dark(0, 0, 0, 190);
  const int r = area.right(), b = area.bottom();
  painter.setPen(pressedIn ? dark : light);
  painter.drawLine(0, 0, r, 0);
  painter.drawLine(0, 0, 0, b);
  painter.setPen(pressedIn ? light : dark);
  painter.drawLine(0, b, r, b);
  painter.drawLine(r, 0, r, b);
  painter.setPen(pressedIn ? light : shade);
  painter.drawLine(1, b - 1, r - 1, b - 1);
  painter.drawLine(r - 1, 1, r - 1, b - 1);

  // A caption wider than the face is set smaller, down to three quarters of
  // its size, and then cut with an ellipsis at its end: its start stays readable.
  const int room = area.width() - 8;
  QFont font = button.font();
  const qreal full = font.pointSizeF();
  while (QFontMetrics(font).horizontalAdvance(caption) > room && font.pointSizeF() > full * 0.75) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
  }
  const QString shown = QFontMetrics(font).elidedText(caption, Qt::ElideRight, room);
  painter.setFont(font);
  painter.setPen(button.isEnabled() ? button.palette().color(QPalette::ButtonText)
                                    : button.palette().color(QPalette::Disabled, QPalette::ButtonText));
  const QRect textArea = pressedIn ? area.translated(1, 1) : area;
  painter.drawText(textArea, Qt::AlignCenter, shown);
  if (focused) {
    QPen dots(button.palette().color(QPalette::ButtonText), 1, Qt::DotLine);
    painter.setPen(dots);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(3, 3, -4, -4));
  }
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

DecodedPicture DecodePicture(const QString& path) {
  DecodedPicture result;
  const QFileInfo info(path);
  if (!info.exists()) {
    result.error = QStringLiteral("画像ファイル「%1」がありません。").arg(path);
    return result;
  }
  // Only a plain file (or a link to one) is read: a named pipe would block
  // the reader and a device would never end.
  if (!info.isFile()) {
    result.error =
        QStringLiteral("画像ファイル「%1」を読み込めません。(通常のファイルではありません)").arg(path);
    return result;
  }
  QImageReader reader(path);
  result.image = reader.read();
  if (result.image.isNull()) {
    result.error = QStringLiteral("画像ファイル「%1」を読み込めません。(%2)").arg(path, reader.errorString());
  }
  return result;
}

bool PictureBox::LoadPicture(const QString& path, QString* error) {
  DecodedPicture decoded = DecodePicture(path);
  if (decoded.image.isNull()) {
    if (error != nullptr) *error = decoded.error;
    return false;
  }
  SetPicture(std::move(decoded.image));
  return true;
}

void PictureBox::SetPicture(QImage image) {
  picture_ = QPixmap::fromImage(std::move(image));
  picture_.setDevicePixelRatio(kPictureScale);
}

QPixmap& PictureBox::Drawing() {
  shown_ = QPixmap();
  // Kept at the screen's pixel ratio, so the screen shows it without scaling.
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(size()) * ratio).toSize();
  if (drawing_.size() != pixels || drawing_.devicePixelRatio() != ratio) {
    QPixmap resized(pixels);
    resized.setDevicePixelRatio(ratio);
    resized.fill(Qt::transparent);
    if (!drawing_.isNull()) {
      QPainter painter(&resized);
      painter.drawPixmap(QPoint(0, 0), drawing_);
    }
    drawing_ = std::move(resized);
  }
  return drawing_;
}

void PictureBox::ClearDrawing() {
  Drawing().fill(Qt::transparent);
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  if (drawing_.isNull()) return;
  QPainter painter(this);
  const qreal ratio = devicePixelRatioF();
  if (drawing_.devicePixelRatio() == ratio) {
    painter.drawPixmap(QPoint(0, 0), drawing_);
    return;
  }
  // Moved to a screen of another pixel ratio: scaled smoothly once, then copied.
  if (shown_.isNull() || shown_.devicePixelRatio() != ratio) {
    const QSize pixels = (QSizeF(drawing_.deviceIndependentSize()) * ratio).toSize();
    shown_ = drawing_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    shown_.setDevicePixelRatio(ratio);
  }
  painter.drawPixmap(QPoint(0, 0), shown_);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!drawing_.isNull()) Drawing();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseReleased(event->button());
  // Taken here: a click on a panel never reaches the window behind it.
  event->accept();
}

GraphicButton::GraphicButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  // Every move of the pointer over the button reaches it, not only its entry.
  setMouseTracking(true);
}

void GraphicButton::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void GraphicButton::paintEvent(QPaintEvent*) {
  PaintGraphicFace(*this, picture_, text(), isDown() || isChecked(), hasFocus());
}

void GraphicButton::mouseMoveEvent(QMouseEvent* event) {
  QPushButton::mouseMoveEvent(event);
  emit Hovered();
}

GraphicOption::GraphicOption(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

void GraphicOption::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void GraphicOption::paintEvent(QPaintEvent*) {
  PaintGraphicFace(*this, picture_, text(), isDown() || isChecked(), hasFocus());
}

bool GraphicOption::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void StretchPicture(PictureBox& dest, const PictureBox& source) {
  QPixmap& drawing = dest.Drawing();
  {
    QPainter painter(&drawing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(QRect(QPoint(0, 0), dest.size()), source.Picture());
  }
  dest.repaint();
}

void CopyPicture(GraphicButton& button, const PictureBox& source) { button.SetPicture(source.Picture()); }

void CopyPicture(GraphicOption& option, const PictureBox& source) { option.SetPicture(source.Picture()); }

}  // namespace yuunagi
