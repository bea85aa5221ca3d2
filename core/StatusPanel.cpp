#include "core/StatusPanel.h"

#include <QLabel>
#include <QStringList>

#include <array>
#include <string>

#include "core/Layout.h"

namespace yuunagi {

namespace {
// Where the panels sit, in twips.
constexpr std::array<QPoint, kDistrictCount> kPlaces = {QPoint(240, 240),   QPoint(2040, 240),
                                                        QPoint(3840, 240),  QPoint(240, 2760),
                                                        QPoint(2040, 2760), QPoint(3840, 2760)};
}  // namespace

StatusPanel::StatusPanel(QWidget* parent, int district) : PictureBox(parent) {
  const QString name = QStringLiteral("statusPanel%1").arg(district);
  PlacePanel(this, name, Twips(kPlaces[district].x(), kPlaces[district].y(), 1695, 2415), false);
  const QFont font = LayoutFont(11.25);
  // A click on a label of the panel is a click on the panel (the target pick).
  auto label = [&](const char* part, int left, int top, int width, std::string_view caption) {
    QLabel* made =
        MakeLabel(this, name + '.' + QLatin1String(part), Twips(left, top, width, 225), caption, font);
    made->setAttribute(Qt::WA_TransparentForMouseEvents);
    return made;
  };
  owner_ = label("owner", 600, 120, 450, "ヒノデ");
  label("moneyCaption", 360, 480, 225, "金");
  money_ = label("money", 960, 480, 120, "0");
  label("soldiersCaption", 240, 840, 450, "兵士");
  soldiers_ = label("soldiers", 960, 840, 120, "0");
  label("strengthCaption", 240, 1200, 390, "強さ");
  strength_ = label("strength", 960, 1200, 120, "0");
  label("weaponCaption", 240, 1560, 450, "武器");
  weapon_ = label("weapon", 960, 1560, 120, "0");
  label("developmentCaption", 240, 1920, 450, "開発");
  development_ = label("development", 960, 1920, 120, "0");
}

void StatusPanel::ShowDistrict(const DistrictRecord& d) {
  SetCaption(owner_, FactionNames[d.Owner]);
  SetCaption(money_, std::to_string(d.Money));
  SetCaption(soldiers_, std::to_string(d.Soldiers));
  SetCaption(strength_, std::to_string(d.Strength));
  SetCaption(weapon_, std::to_string(d.Weapon));
  SetCaption(development_, std::to_string(d.Development));
}

void StatusPanel::HighlightOwner(bool on, double zoom) {
  owner_->setFont(on ? LayoutFont(14 * zoom, true) : LayoutFont(11 * zoom));
  owner_->adjustSize();
}

bool StatusPanel::OwnerHighlighted() const { return owner_->font().bold(); }

QString StatusPanel::Shown() const {
  return QStringList{owner_->text(),    money_->text(),  soldiers_->text(),
                     strength_->text(), weapon_->text(), development_->text()}
      .join(' ');
}

}  // namespace yuunagi
