#include "commands/FactionPicker.h"

#include <QLabel>

#include "core/Layout.h"
#include "core/PanelFocus.h"

namespace yuunagi {

FactionPicker::FactionPicker(QWidget* parent) : PictureBox(parent) {
  PlacePanel(this, QStringLiteral("factionPicker"), Twips(5640, 2160, 1935, 3015), false);
  heading_ = MakeLabel(this, QStringLiteral("factionPicker.heading"), Twips(360, 120, 1080, 180),
                       "～勢力選択～", LayoutFont(kDefaultPoints));
  for (int k = 0; k < kFactionCount; ++k) {
    factions_[k] = MakeButton(this, QStringLiteral("factionPicker.faction%1").arg(k),
                              Twips(240, 360 + 360 * k, 1455, 375), FactionNames[k]);
    connect(factions_[k], &QPushButton::clicked, this, [this, k] {
      if (!isHidden() && !factions_[k]->isHidden()) emit factionChosen(k);
    });
    connect(factions_[k], &GraphicButton::Hovered, this, [this, k] { emit factionPointed(k); });
  }
  GraphicButton* confirm = MakeButton(this, QStringLiteral("factionPicker.confirm"),
                                      Twips(240, 360 + 360 * kFactionCount, 1455, 375), "決定");
  connect(confirm, &QPushButton::clicked, this, [this, confirm] {
    if (!isHidden() && !confirm->isHidden()) emit confirmed();
  });
  connect(confirm, &GraphicButton::Hovered, this, &FactionPicker::confirmPointed);
}

void FactionPicker::SetHeading(std::string_view text) { SetCaption(heading_, text); }

QString FactionPicker::Heading() const { return heading_->text(); }

void FactionPicker::OfferFactions(const std::array<i16, kDistrictCount>& startOwner) {
  for (GraphicButton* button : factions_) HidePanel(*button);
  for (const i16 owner : startOwner) {
    if (owner >= 0 && owner < kFactionCount) factions_[owner]->show();
  }
  FocusFirstButton(*this);
}

void FactionPicker::TakeFaction(int faction) {
  HidePanel(*factions_[faction]);
  FocusFirstButton(*this);
}

bool FactionPicker::Offers(int faction) const { return !factions_[faction]->isHidden(); }

}  // namespace yuunagi
