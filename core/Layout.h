// The kit every panel of the window is built with: the design's twips, the
// layout's fonts, and controls that remember their designed place and font
// so the whole window can be laid out again at another zoom.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include <string_view>

class QLabel;
class QPixmap;
class QWidget;

namespace yuunagi {

class PictureBox;
class GraphicButton;

// QString of a UTF-8 text of the engine.
QString ToQString(std::string_view utf8);

// A rectangle of the design, given in twips (15 to a pixel at 100 %).
QRect Twips(int left, int top, int width, int height);

// The font a control uses when the layout gives none.
constexpr qreal kDefaultPoints = 9;
// Fonts of the layout ("ＭＳ Ｐゴシック" is IPA P Gothic here).
QFont LayoutFont(qreal points, bool bold = false);

// The properties that keep a control's place and font size at 100 %.
inline constexpr const char* kDesignPlace = "designPlace";
inline constexpr const char* kDesignPoints = "designPoints";

void Place(QWidget* widget, QRect place);
void SetDesignFont(QWidget* widget, const QFont& font);
// A panel takes its name, its place and whether it shows at the start.
void PlacePanel(QWidget* panel, const QString& name, QRect place, bool shown);
PictureBox* MakePanel(QWidget* parent, const QString& name, QRect place, bool shown);
// Labels are transparent and sized to their text, their left edge fixed.
// Their texts are shown as they are, never read as markup.
QLabel* MakeLabel(QWidget* parent, const QString& name, QRect place, std::string_view caption,
                  const QFont& font);
GraphicButton* MakeButton(QWidget* parent, const QString& name, QRect place, std::string_view caption,
                          bool shown = true);
// Sets a label's caption and sizes the label to it, its left edge fixed.
void SetCaption(QLabel* label, std::string_view text);

// Gives every button and option button on `panel` the shared face.
void DressButtons(QWidget& panel, const QPixmap& face);

}  // namespace yuunagi
