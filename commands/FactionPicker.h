// The faction picker ～勢力選択～ before a new game: a button for each faction
// of the scenario and 決定, headed with the player whose pick it is.
#pragma once

#include <QString>

#include <array>
#include <string_view>

#include "core/GameState.h"
#include "media/Pictures.h"

class QLabel;

namespace yuunagi {

class FactionPicker : public PictureBox {
  Q_OBJECT
 public:
  explicit FactionPicker(QWidget* parent);

  void SetHeading(std::string_view text);
  QString Heading() const;
  // Offers exactly the factions of the start table, the first one focused.
  void OfferFactions(const std::array<i16, kDistrictCount>& startOwner);
  // A picked faction is offered no more.
  void TakeFaction(int faction);
  bool Offers(int faction) const;

 signals:
  // Only while the picker is shown and the faction offered.
  void factionChosen(int faction);
  void confirmed();
  // The pointer moved over a button (or a key reached it).
  void factionPointed(int faction);
  void confirmPointed();

 private:
  QLabel* heading_ = nullptr;
  std::array<GraphicButton*, kFactionCount> factions_{};
};

}  // namespace yuunagi
