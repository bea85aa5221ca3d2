#include "Preview.h"

#include <QFont>
#include <QPainter>

namespace yuunagi::art {

namespace {

constexpr int kWindowWidth = 516;
constexpr int kWindowHeight = 438;

// Point sizes at 96 dots per inch, as pixels.
double Points(double points) { return points * 96.0 / 72.0; }

QFont GameFont(double points, bool bold = false) {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(static_cast<int>(Points(points) + 0.5));
  font.setBold(bold);
  return font;
}

void Text(QPainter& painter, QPointF topLeft, const QString& text, const QFont& font) {
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QPointF(topLeft.x(), topLeft.y() + QFontMetricsF(font).ascent()), text);
}

class Proof {
 public:
  explicit Proof(const PictureSet& pictures)
      : pictures_(pictures),
        image_(kWindowWidth * 2, kWindowHeight * 2, QImage::Format_RGB32),
        painter_(&image_) {
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    painter_.setRenderHint(QPainter::TextAntialiasing);
    painter_.scale(2, 2);
    painter_.drawImage(QRectF(0, 0, kWindowWidth, kWindowHeight), pictures_.map);
  }

  QPainter& P() { return painter_; }

  // A panel: the texture stretched over it; its contents are drawn inside.
  void Panel(QRectF area) {
    P().drawImage(area, pictures_.texture);
    P().setPen(QPen(QColor(0x80, 0x78, 0x68), 0.5));
    P().setBrush(Qt::NoBrush);
    P().drawRect(area);
  }

  // A button: the texture unscaled behind a centred caption.
  void Button(QRectF area, const QString& caption) {
    P().drawImage(area, pictures_.texture, QRectF(0, 0, area.width() * 2, area.height() * 2));
    P().setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 1));
    P().drawLine(area.topLeft() + QPointF(0.5, 0.5), area.topRight() + QPointF(-0.5, 0.5));
    P().drawLine(area.topLeft() + QPointF(0.5, 0.5), area.bottomLeft() + QPointF(0.5, -0.5));
    P().setPen(QPen(QColor(0x70, 0x68, 0x58), 1));
    P().drawLine(area.bottomLeft() + QPointF(0.5, -0.5), area.bottomRight() + QPointF(-0.5, -0.5));
    P().drawLine(area.topRight() + QPointF(-0.5, 0.5), area.bottomRight() + QPointF(-0.5, -0.5));
    P().setFont(GameFont(9));
    P().setPen(Qt::black);
    P().drawText(area, Qt::AlignCenter, caption);
  }

  void StatusPanel(int district, int faction, bool moving) {
    const QPointF at(16 + 120 * (district % 3), 16 + 168 * (district / 3));
    P().save();
    P().translate(at);
    P().drawImage(QRectF(0, 0, 113, 161), pictures_.emblems[static_cast<std::size_t>(faction)]);
    static const char* const names[] = {"ヒノデ", "ソラノ", "ハナミ", "トコナ", "セリ", "ミオツ"};
    Text(P(), {40, 8}, QString::fromUtf8(names[faction]), GameFont(moving ? 14 : 11, moving));
    static const char* const labels[] = {"金", "兵士", "強さ", "武器", "開発"};
    const int values[] = {100 + 37 * district, 2000 - 150 * district, 12 + district, 1 + district % 5,
                          40 * (district + 1)};
    for (int row = 0; row < 5; ++row) {
      Text(P(), {row == 0 ? 24.0 : 16.0, 32.0 + 24 * row}, QString::fromUtf8(labels[row]), GameFont(11));
      Text(P(), {64, 32.0 + 24 * row}, QString::number(values[row]), GameFont(11));
    }
    P().restore();
  }

  QImage Finish() {
    painter_.end();
    return image_;
  }

 private:
  const PictureSet& pictures_;
  QImage image_;
  QPainter painter_;
};

}  // namespace

QImage DrawTitlePreview(const PictureSet& pictures) {
  Proof proof(pictures);
  // The title label is 391 px wide; the stand-in font is shrunk to fit it.
  const QString title = QStringLiteral("ユウナギ町争奪戦");
  QFont titleFont = GameFont(48, true);
  const double width = QFontMetricsF(titleFont).horizontalAdvance(title);
  if (width > 391) titleFont.setPixelSize(static_cast<int>(titleFont.pixelSize() * 391 / width));
  Text(proof.P(), {43, 80 + (64 - QFontMetricsF(titleFont).height()) / 2}, title, titleFont);
  proof.Panel(QRectF(376, 288, 129, 73));
  Text(proof.P(), {384, 296}, QStringLiteral("～ゲームスピード～"), GameFont(9));
  Text(proof.P(), {384, 312}, QStringLiteral("速い"), GameFont(9));
  Text(proof.P(), {472, 312}, QStringLiteral("遅い"), GameFont(9));
  proof.P().fillRect(QRectF(384, 328, 113, 17), QColor(0xE4, 0xE0, 0xD8));
  proof.Panel(QRectF(376, 360, 129, 73));
  proof.Button(QRectF(392, 368, 97, 25), QStringLiteral("はじめから"));
  proof.Button(QRectF(392, 400, 97, 25), QStringLiteral("つづきから"));
  return proof.Finish();
}

QImage DrawGamePreview(const PictureSet& pictures) {
  Proof proof(pictures);
  // District 4 has fallen to ヒノデ; district 1 is moving.
  const int owners[] = {0, 1, 2, 3, 0, 5};
  for (int district = 0; district < 6; ++district)
    proof.StatusPanel(district, owners[district], district == 1);
  proof.Panel(QRectF(376, 16, 129, 65));
  Text(proof.P(), {384, 24}, QStringLiteral("Turn 12"), GameFont(14.25));
  Text(proof.P(), {384, 48}, QStringLiteral("ソラノの戦略"), GameFont(14.25));
  proof.Panel(QRectF(376, 144, 129, 201));
  Text(proof.P(), {400, 152}, QStringLiteral("～行動選択～"), GameFont(9));
  const char* const actions[] = {"攻撃", "集金", "町開発", "徴兵", "訓練", "武器開発", "セーブ"};
  for (int k = 0; k < 7; ++k) {
    proof.Button(QRectF(392, 168 + 24 * k, 97, 25), QString::fromUtf8(actions[k]));
  }
  proof.Panel(QRectF(16, 352, 489, 81));
  Text(proof.P(), {16, 352}, QStringLiteral("ソラノの攻撃!! セリの兵士が 45 減った。"), GameFont(12, true));
  return proof.Finish();
}

}  // namespace yuunagi::art
