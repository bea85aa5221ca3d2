// One district's status panel on the board: the emblem of the faction that
// holds it (drawn over the panel), the faction's name and the district's
// money, soldiers, strength, weapon and development.
#pragma once

#include <QString>

#include "core/GameState.h"
#include "media/Pictures.h"

class QLabel;

namespace yuunagi {

class StatusPanel : public PictureBox {
 public:
  // The panel of `district`: top row 0 1 2, bottom row 3 4 5.
  StatusPanel(QWidget* parent, int district);

  // Writes the holder's name and the five numbers, in that order.
  void ShowDistrict(const DistrictRecord& district);
  // The mover's name is larger and bold while it moves.
  void HighlightOwner(bool on, double zoom);
  bool OwnerHighlighted() const;
  // What the panel shows: the name and the five numbers, apart by blanks.
  QString Shown() const;

 private:
  QLabel* owner_ = nullptr;
  QLabel* money_ = nullptr;
  QLabel* soldiers_ = nullptr;
  QLabel* strength_ = nullptr;
  QLabel* weapon_ = nullptr;
  QLabel* development_ = nullptr;
};

}  // namespace yuunagi
