#include "core/Layout.h"

#include <QLabel>

#include "media/Pictures.h"

namespace yuunagi {

namespace {
constexpr int kTwipsPerPixel = 15;
}  // namespace

QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QRect Twips(int left, int top, int width, int height) {
  return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

QFont LayoutFont(qreal points, bool bold) {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

void Place(QWidget* widget, QRect place) {
  widget->setProperty(kDesignPlace, place);
  widget->setGeometry(place);
}

void SetDesignFont(QWidget* widget, const QFont& font) {
  widget->setProperty(kDesignPoints, font.pointSizeF());
  widget->setFont(font);
}

void PlacePanel(QWidget* panel, const QString& name, QRect place, bool shown) {
  panel->setObjectName(name);
  Place(panel, place);
  panel->setVisible(shown);
}

PictureBox* MakePanel(QWidget* parent, const QString& name, QRect place, bool shown) {
  auto* panel = new PictureBox(parent);
  PlacePanel(panel, name, place, shown);
  return panel;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, QRect place, std::string_view caption,
                  const QFont& font) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  Place(label, place);
  SetDesignFont(label, font);
  label->setTextFormat(Qt::PlainText);
  SetCaption(label, caption);
  return label;
}

GraphicButton* MakeButton(QWidget* parent, const QString& name, QRect place, std::string_view caption,
                          bool shown) {
  auto* button = new GraphicButton(ToQString(caption), parent);
  button->setObjectName(name);
  Place(button, place);
  button->setVisible(shown);
  return button;
}

void SetCaption(QLabel* label, std::string_view text) {
  label->setTextFormat(Qt::PlainText);
  label->setText(ToQString(text));
  label->adjustSize();
}

void DressButtons(QWidget& panel, const QPixmap& face) {
  for (GraphicButton* button : panel.findChildren<GraphicButton*>(Qt::FindDirectChildrenOnly))
    button->SetPicture(face);
  for (GraphicOption* option : panel.findChildren<GraphicOption*>(Qt::FindDirectChildrenOnly))
    option->SetPicture(face);
}

}  // namespace yuunagi
