// The window's picture surfaces and graphical buttons, and the two helpers
// that dress them: StretchPicture lays a whole picture over a surface,
// CopyPicture puts a picture on a button's face.
//
// Our pictures are drawn at twice the size they are shown at; they are kept
// with a device pixel ratio of 2, so their logical size is the shown size and
// they stay sharp where the screen is scaled.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QWidget>

namespace yuunagi {

// The pixel ratio our picture files are drawn at.
constexpr qreal kPictureScale = 2.0;

// An image file read into memory, or why it could not be. Safe to make on
// any thread, so the window's pictures can be read while it is being built.
struct DecodedPicture {
  QImage image;
  QString error;  // for the player, naming the file; empty on success
};
DecodedPicture DecodePicture(const QString& path);

// A picture box: holds a loaded picture at its natural size, and a persistent
// drawing that it repaints itself from (so what is drawn on it survives being
// covered and uncovered).
class PictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBox(QWidget* parent = nullptr);

  // The loaded picture (empty until LoadPicture succeeds).
  const QPixmap& Picture() const { return picture_; }
  // Reads an image file into the box. On failure returns false, keeps the
  // old picture and, when `error` is given, tells the player why.
  bool LoadPicture(const QString& path, QString* error = nullptr);
  // Takes a picture read with DecodePicture (no copy of its pixels).
  void SetPicture(QImage image);

  // The persistent drawing, sized to the box. Taking it to draw on marks
  // what the screen shows of it as stale.
  QPixmap& Drawing();
  const QPixmap& Drawing() const { return drawing_; }
  void ClearDrawing();

 signals:
  // A mouse button was released over the box (Qt's button value).
  void MouseReleased(Qt::MouseButton button);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPixmap picture_;
  QPixmap drawing_;
  QPixmap shown_;  // the drawing at the screen's pixel ratio, made when first painted
};

// A command button drawn in graphical style: its picture unscaled behind the
// caption, with a raised or pressed edge.
class GraphicButton : public QPushButton {
  Q_OBJECT
 public:
  explicit GraphicButton(const QString& caption, QWidget* parent = nullptr);
  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return picture_; }

 signals:
  // The mouse pointer moved over the button (the game writes its hints then).
  // Entering the button is such a move too; a panel shown again under a
  // resting pointer is not, so a refusal written by a click stays readable.
  void Hovered();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QPixmap picture_;
};

// An option button drawn in graphical style: like GraphicButton, and it
// stays pressed in while it is the selected one of its group.
class GraphicOption : public QRadioButton {
  Q_OBJECT
 public:
  explicit GraphicOption(const QString& caption, QWidget* parent = nullptr);
  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  QPixmap picture_;
};

// Stretches the whole picture of `source` over the whole persistent drawing
// of `dest`, whatever the two aspect ratios, and repaints `dest` at once.
void StretchPicture(PictureBox& dest, const PictureBox& source);
// Gives a graphical button or option button the picture of `source` as its
// face. The pixmap is shared, not copied.
void CopyPicture(GraphicButton& button, const PictureBox& source);
void CopyPicture(GraphicOption& option, const PictureBox& source);

}  // namespace yuunagi
